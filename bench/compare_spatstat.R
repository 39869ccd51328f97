# Companion of compare_spatstat.sh: makes the benchmark patterns and times
# spatstat's envelope on them.
#
#   Rscript compare_spatstat.R make FILE.dat TYPE N NSIM SEED
#     writes a CSR pattern of N points in a 100 x 100 plot, coordinates on the
#     0.01 grid and distinct, as a sample data file for t = 0.5 .. 25 by 0.5
#     and NSIM simulations. TYPE is "uni", "bi" (bivariate: the first half
#     species 0, the rest species 1), "pcf" (univariate, for the pair
#     correlation function) or "kinhom" (univariate, for the inhomogeneous K). Prints the seconds spatstat's envelope of NSIM
#     simulations is estimated to take, from a short envelope.
#   Rscript compare_spatstat.R envelope FILE.dat [pcf|kinhom]
#     reads the points and the number of simulations back from FILE.dat and
#     prints "elapsed user" seconds of the envelope call alone: of L, or
#     with "pcf" of g by the Epanechnikov kernel of QLOR's default
#     half-width h = 0.15 / sqrt(lambda) (spatstat's bw is the kernel's
#     standard deviation, h / sqrt(5)), or with "kinhom" of Kinhom with the
#     kernel intensity of sigma 12.5 (leave-one-out at the points, exact
#     edge correction, no renormalisation) against the heterogeneous
#     Poisson process of the kernel image.
suppressPackageStartupMessages({
  library(spatstat.geom)
  library(spatstat.random)
  library(spatstat.explore)
})

args <- commandArgs(trailingOnly = TRUE)
window <- owin(c(0, 100), c(0, 100))
# spatstat wants the distance vector to start at 0; QLOR's first distance is
# 0.5, so the vector has one more entry than QLOR's intervals.
r <- seq(0, 25, by = 0.5)

read_pattern <- function(path) {
  header <- scan(path, nlines = 1, quiet = TRUE)
  body <- read.table(path, skip = 1)
  if (ncol(body) >= 3) {
    marks <- factor(body[[3]] + 1, levels = c(1, 2))
    X <- ppp(body[[1]], body[[2]], window = window, marks = marks)
  } else {
    X <- ppp(body[[1]], body[[2]], window = window)
  }
  list(X = X, nsim = as.integer(header[6]))
}

# Runs the envelope of the pattern; returns the system.time of the call.
time_envelope <- function(X, nsim, kind = "") {
  if (kind == "kinhom") {
    sigma <- 12.5
    system.time({
      lam <- density(X, sigma = sigma)
      # ppp() around rpoint: without it the simulated patterns get the
      # image's mask window, and the isotropic correction refuses masks.
      envelope(X, Kinhom, nsim = nsim,
               simulate = expression({
                 Y <- rpoint(X$n, lam)
                 ppp(Y$x, Y$y, window = Window(X))
               }),
               sigma = sigma, correction = "isotropic", nlarge = Inf,
               renormalise = FALSE, leaveoneout = TRUE, r = r,
               verbose = FALSE)
    })
  } else if (kind == "pcf") {
    h <- 0.15 / sqrt(npoints(X) / area(window))
    system.time(envelope(X, pcf, nsim = nsim, fix.n = TRUE,
                         correction = "isotropic", kernel = "epanechnikov",
                         bw = h / sqrt(5), r = r, verbose = FALSE))
  } else if (is.marked(X)) {
    # Species 1 stays where it is, species 2 is placed uniformly at random
    # with its count fixed.
    fixed <- unmark(X[marks(X) == "1"])
    n2 <- sum(marks(X) == "2")
    sim <- expression(superimpose(`1` = fixed, `2` = runifpoint(n2, window)))
    system.time(envelope(X, Lcross, i = "1", j = "2", nsim = nsim,
                         simulate = sim, correction = "isotropic", r = r,
                         verbose = FALSE))
  } else {
    system.time(envelope(X, Lest, nsim = nsim, correction = "isotropic",
                         fix.n = TRUE, r = r, verbose = FALSE))
  }
}

make_pattern <- function(path, type, n, nsim, seed) {
  set.seed(seed)
  # Distinct cells of the 0.01 grid: 0 <= x, y <= 99.99.
  cell <- sample.int(10000L * 10000L, n) - 1L
  x <- (cell %/% 10000L) / 100
  y <- (cell %% 10000L) / 100
  if (type == "bi") {
    species <- rep(c(0L, 1L), c(n %/% 2L, n - n %/% 2L))
    X <- ppp(x, y, window = window,
             marks = factor(species + 1L, levels = c(1, 2)))
  } else {
    species <- NULL
    X <- ppp(x, y, window = window)
  }
  lines <- if (is.null(species)) sprintf("%.2f %.2f", x, y)
           else sprintf("%.2f %.2f %d", x, y, species)
  con <- file(path, "w")
  writeLines(sprintf("100 100 0.5 0.5 25 %d", nsim), con)
  writeLines(lines, con)
  close(con)
  # Estimate the envelope's cost from a short one (3 simulations, 4 patterns).
  probe <- time_envelope(X, 3, if (type %in% c("pcf", "kinhom")) type else "")[["elapsed"]]
  cat(sprintf("%.1f\n", probe / 4 * (nsim + 1)))
}

if (length(args) == 6 && args[1] == "make") {
  make_pattern(args[2], args[3], as.integer(args[4]), as.integer(args[5]),
               as.integer(args[6]))
} else if (length(args) %in% 2:3 && args[1] == "envelope") {
  p <- read_pattern(args[2])
  t <- time_envelope(p$X, p$nsim, if (length(args) == 3) args[3] else "")
  cat(sprintf("%.3f %.3f\n", t[["elapsed"]], t[["user.self"]]))
} else {
  stop("usage: compare_spatstat.R make FILE TYPE N NSIM SEED | ",
       "envelope FILE [pcf|kinhom]")
}
