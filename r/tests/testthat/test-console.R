# The package's numbers are the console's for the same pattern and seed.

write_sample <- function(path, X, nsim) {
  W <- X$window
  header <- sprintf("%s %s 0.3 0.3 15 %d", format(diff(W$xrange)),
                    format(diff(W$yrange)), nsim)
  rows <- if (spatstat.geom::is.marked(X)) {
    sprintf("%s %s %d", format(X$x), format(X$y),
            as.integer(spatstat.geom::marks(X)) - 1L)
  } else {
    sprintf("%s %s", format(X$x), format(X$y))
  }
  writeLines(c(header, rows), path)
}

read_result <- function(path) {
  m <- as.matrix(read.table(path))
  colnames(m) <- c("t", "hi", "lo", "obs")
  m
}

test_that("envelopes equal the console's result files", {
  bin <- qlor_binary()
  cases <- list(list(X = csr_pattern(), fun = "L", args = character(0)),
                list(X = csr_pattern(), fun = "g", args = c("--function", "g")),
                list(X = two_species(), fun = "L", args = c("--null", "labels")))
  for (case in cases) {
    dir <- tempfile("qlor")
    dir.create(dir)
    dat <- file.path(dir, "p.dat")
    write_sample(dat, case$X, 19)
    status <- system2(bin, c("single", dat, "--yes", "--seed", "4242", case$args),
                      stdout = FALSE, stderr = FALSE)
    expect_equal(status, 0)
    null <- if ("labels" %in% case$args) "labels" else "csr"
    env <- qlor_envelope(case$X, case$fun, nsim = 19, null = null, seed = 4242,
                         r = seq(0.3, 15, by = 0.3))
    suffix <- attr(env, "qlor")$suffix
    file <- read_result(file.path(dir, paste0("p", suffix, ".ktt")))
    back <- if (case$fun == "L") env$r else 0
    expect_equal(env$r, file[, "t"])
    expect_equal(env$hi - back, file[, "hi"], tolerance = 1e-5)
    expect_equal(env$lo - back, file[, "lo"], tolerance = 1e-5)
    expect_equal(env$obs - back, file[, "obs"], tolerance = 1e-5)
    # Six significant digits, as the file holds them.
    expect_identical(sprintf("%.6g", env$hi - back), sprintf("%.6g", file[, "hi"]))
    unlink(dir, recursive = TRUE)
  }
})

test_that("the tests rank as the console's test files do", {
  X <- csr_pattern()
  env <- qlor_envelope(X, "L", nsim = 19, seed = 5)
  sup <- qlor_test(env, "supremum")
  cvm <- qlor_test(env, "cvm")
  for (t in list(sup, cvm)) {
    expect_equal(t$rank, sum(t$statistics >= t$statistics[1]))
    expect_equal(t$p, t$rank / 20)
  }
  g <- qlor_global(env)
  expect_true(g$p > 0 && g$p <= 1)
  expect_true(all(g$lo <= g$hi))
  pdf(NULL)
  expect_silent(plot(g))
  expect_silent(plot(env))
  dev.off()
})
