\name{qlor_K}
\alias{qlor_K}
\alias{qlor_g}
\alias{qlor_Kinhom}
\title{QLOR's estimates of K, g and the inhomogeneous K}
\description{
  The observed summary function alone, at full precision, with the
  isotropic edge correction.
}
\usage{
qlor_K(X, r = NULL, window = NULL)
qlor_g(X, r = NULL, bandwidth = NULL, window = NULL)
qlor_Kinhom(X, r = NULL, lambda = NULL, window = NULL)
}
\arguments{
  \item{X}{a \code{ppp} in a rectangular window or a data.frame, as for
    \code{\link{qlor_envelope}}.}
  \item{r}{distances, as for \code{\link{qlor_envelope}}.}
  \item{bandwidth}{the half-width of g's Epanechnikov kernel.}
  \item{lambda}{the standard deviation of the Gaussian kernel intensity
    (\code{NULL}: the default).}
  \item{window}{\code{c(xmax, ymax)} when \code{X} is a data.frame.}
}
\value{An \code{fv} object with columns \code{r}, \code{theo} and
  \code{iso}. QLOR divides the weighted pair count by n^2 / area,
  spatstat's \code{Kest} by n (n - 1) / area.}
\examples{
X <- data.frame(x = runif(100, 0, 50), y = runif(100, 0, 50))
plot(qlor_K(X, window = c(50, 50)))
}
