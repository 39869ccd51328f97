\name{qlor_envelope}
\alias{qlor_envelope}
\title{Simulation envelopes of L, K, g or O computed by QLOR}
\description{
  Estimates a summary function of a point pattern of one or two species in
  a rectangular plot, simulates a null model \code{nsim} times and returns
  the observed function with its pointwise envelopes, as spatstat's
  \code{envelope()} does. The numbers equal those of the console program
  \command{qlor single} for the same pattern, choices and seed.
}
\usage{
qlor_envelope(X, fun = "L", nsim = 99, null = "csr", ..., r = NULL,
              pairs = "cross", intensity = NULL, sigma = NULL,
              bandwidth = NULL, estimator = "kernel", seed = NULL,
              threads = NULL, window = NULL)
}
\arguments{
  \item{X}{a spatstat \code{ppp} in a rectangular window, or a
    \code{data.frame} with columns \code{x}, \code{y} and optionally
    \code{species} (then give \code{window}). Marks that are a factor of two
    levels make the pattern bivariate; the first level is species 1.}
  \item{fun}{\code{"L"} (L(r), with \code{theo = r}), \code{"K"}, \code{"g"}
    (pair correlation) or \code{"O"} (O-ring statistic).}
  \item{nsim}{number of simulations: 19, 99 or at least 100.}
  \item{null}{\code{"csr"}, \code{"ssi"}, \code{"strauss"},
    \code{"cluster"}, \code{"inhomogeneous"}, \code{"labels"} (random
    labelling) or \code{"shift"} (toroidal shift); the last two need two
    species.}
  \item{...}{the null model's parameters: \code{radius} (SSI, Strauss,
    cluster), \code{c} (Strauss, cluster) and \code{centres} (cluster).}
  \item{r}{distances: equally spaced, above 0, starting at a whole multiple
    of their step. \code{NULL}: a quarter of the shorter side in 50 steps.}
  \item{pairs}{for two species: \code{"cross"}, \code{"11"} or \code{"22"}.}
  \item{intensity}{for \code{null = "inhomogeneous"}: a spatstat image
    (\code{im}) of the intensity covering the plot, or a list of two for two
    species; \code{NULL} estimates it from each pattern with a Gaussian
    kernel of standard deviation \code{sigma}.}
  \item{sigma}{the Gaussian kernel's standard deviation of an
    inhomogeneous run (\code{NULL}: the console's default).}
  \item{bandwidth}{the half-width of the kernel of g and O (\code{NULL}:
    the default).}
  \item{estimator}{g and O by \code{"kernel"} or by \code{"ring"}s of K.}
  \item{seed}{the run's seed, a whole number below 2^32; \code{NULL} takes
    the clock's seconds.}
  \item{threads}{worker threads (\code{NULL}: all).}
  \item{window}{\code{c(xmax, ymax)} when \code{X} is a data.frame.}
}
\value{
  An object of classes \code{envelope} and \code{fv} with columns \code{r},
  \code{obs}, \code{theo}, \code{lo} and \code{hi}: plot it with
  \code{plot()}, read it with \code{as.data.frame()}. Below 100 simulations
  the envelopes are the smallest and largest simulated values, from 100 on
  the mean plus and minus 1.96 standard deviations.
}
\seealso{\code{\link{qlor_test}}, \code{\link{qlor_global}},
  \code{\link{qlor_K}}}
\examples{
X <- data.frame(x = runif(100, 0, 50), y = runif(100, 0, 50))
env <- qlor_envelope(X, "L", nsim = 19, window = c(50, 50), seed = 1)
plot(env)
}
