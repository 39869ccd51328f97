\name{qlor_test}
\alias{qlor_test}
\alias{qlor_global}
\alias{print.qlor_test}
\alias{print.qlor_global}
\alias{plot.qlor_global}
\title{Tests of the whole curve of a QLOR envelope}
\description{
  \code{qlor_test} ranks the observed curve's supremum or Cramer-von Mises
  statistic among the simulated ones, as the console's \code{.sup} and
  \code{.cvm} files do. \code{qlor_global} runs the global envelope test
  (extreme rank length) and gives its band; \code{plot()} draws the band and
  the distances where the observed curve leaves it.
}
\usage{
qlor_test(env, type = c("supremum", "cvm"), centre = c("csr", "mean"))
qlor_global(env, alpha = 0.05)
}
\arguments{
  \item{env}{an envelope from \code{\link{qlor_envelope}}.}
  \item{type}{the statistic.}
  \item{centre}{deviations from the value under CSR or from the simulated
    mean.}
  \item{alpha}{the global envelope's level, between 0 and 1.}
}
\value{
  \code{qlor_test}: a list with \code{statistic}, \code{rank} (statistics at
  least as large, the observed one included), \code{p} (rank / (nsim + 1))
  and every \code{statistics}. \code{qlor_global}: a list with the p-value
  \code{p}, the band \code{lo} and \code{hi}, the observed \code{obs} and the
  indices \code{outside} where it leaves the band.
}
\examples{
X <- data.frame(x = runif(100, 0, 50), y = runif(100, 0, 50))
env <- qlor_envelope(X, "L", nsim = 19, window = c(50, 50), seed = 1)
qlor_test(env, "supremum")
plot(qlor_global(env))
}
