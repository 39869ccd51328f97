# Times the R package against spatstat in one R session: the L envelope of
# 99 simulations of CSR for a CSR pattern of n points in a 100 x 100 plot,
# distances 0.5 .. 25 by 0.5, qlor_envelope on all cores against
# envelope(X, Lest, nsim = 99, correction = "isotropic", fix.n = TRUE).
#
# Usage: Rscript bench/r_envelope.R [n (default 5000)] [repeats (default 1)]
# spatstat.explore's version is the one of envelope() and Lest.
# Prints both times (fastest of the repeats) and their ratio; exits 1 when
# QLOR is less than 5 times faster.
suppressMessages({
  library(qlor)
  library(spatstat)
})
args <- commandArgs(trailingOnly = TRUE)
n <- if (length(args) >= 1) as.integer(args[1]) else 5000L
repeats <- if (length(args) >= 2) as.integer(args[2]) else 1L
set.seed(20240)
# Coordinates on the 0.01 grid inside [0, 100), no two points alike.
xy <- unique(data.frame(x = floor(runif(2 * n, 0, 10000)) / 100,
                        y = floor(runif(2 * n, 0, 10000)) / 100))[seq_len(n), ]
X <- ppp(xy$x, xy$y, window = owin(c(0, 100), c(0, 100)))
r <- seq(0.5, 25, by = 0.5)
timed <- function(f) {
  min(vapply(seq_len(repeats), function(i) system.time(f())[["elapsed"]], 0))
}
q <- timed(function() qlor_envelope(X, "L", nsim = 99, r = r, seed = 1))
s <- timed(function() envelope(X, Lest, nsim = 99, correction = "isotropic",
                               fix.n = TRUE, r = c(0, r), verbose = FALSE))
cat(sprintf("machine: %s, %d cores; %s; spatstat %s\n",
            sub("model name\\s*:\\s*", "",
                grep("model name", readLines("/proc/cpuinfo"), value = TRUE)[1]),
            parallel::detectCores(), R.version.string,
            as.character(packageVersion("spatstat.explore"))))
cat(sprintf("n = %d, 99 simulations: spatstat %.2f s, qlor %.2f s, %.1f times\n",
            n, s, q, s / q))
if (s / q < 5) {
  cat("target missed: qlor_envelope at least 5 times faster\n")
  quit(status = 1)
}
