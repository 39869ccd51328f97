# Bad input gets an R error with the console's words, and R goes on.

test_that("each refusal names what is wrong", {
  X <- csr_pattern(50)
  disc <- spatstat.geom::ppp(0, 0, window = spatstat.geom::disc(1))
  three <- X
  spatstat.geom::marks(three) <- factor(rep(c("a", "b", "c"), length.out = 50))
  dup <- suppressWarnings(spatstat.geom::superimpose(X, X[1:2]))
  df_out <- data.frame(x = c(1, 120), y = c(1, 1))
  df_na <- data.frame(x = c(1, NA), y = c(1, 2))
  flat <- spatstat.geom::as.im(0.05, W = X$window, dimyx = c(6, 10))
  cases <- list(
    list(quote(qlor_envelope(disc, nsim = 9)), "rectangular plot"),
    list(quote(qlor_envelope(three, nsim = 9)), "one or two species"),
    list(quote(qlor_envelope(dup, nsim = 9)), "."),
    list(quote(qlor_envelope(df_out, window = c(100, 60), nsim = 9)), "."),
    list(quote(qlor_envelope(df_na, window = c(100, 60), nsim = 9)), "NA"),
    list(quote(qlor_envelope(X, fun = "F", nsim = 9)), "fun must be one of"),
    list(quote(qlor_envelope(X, nsim = "many")), "nsim must be a number"),
    list(quote(qlor_envelope(X, nsim = 9, null = "labels")), "two species"),
    list(quote(qlor_envelope(X, nsim = 9, null = "ssi")), "radius"),
    list(quote(qlor_envelope(X, nsim = 9, r = c(0, 1, 2))), "above 0"),
    list(quote(qlor_envelope(X, nsim = 9, r = c(1, 2, 4))), "equally spaced"),
    list(quote(qlor_envelope(list(), nsim = 9)), "ppp"),
    list(quote(qlor_envelope(X, nsim = 19, null = "inhomogeneous",
                             intensity = 3)), "spatstat image"),
    list(quote(qlor_envelope(X, nsim = 19, intensity = flat)), "inhomogeneous"),
    list(quote(qlor_envelope(X, nsim = 19, null = "inhomogeneous",
                             intensity = -flat)), "negative"))
  for (case in cases) {
    expect_error(eval(case[[1]]), case[[2]], info = deparse(case[[1]]))
  }
})

test_that("a point on the window's upper or right edge moves just inside", {
  X <- spatstat.geom::ppp(c(10, 100, 50), c(60, 5, 30),
                          window = spatstat.geom::owin(c(0, 100), c(0, 60)))
  expect_warning(K <- qlor_K(X, r = c(1, 2, 3)), "2 point\\(s\\) on the window")
  expect_equal(K$iso, c(0, 0, 0))
})

test_that("numeric marks leave a pattern univariate", {
  X <- csr_pattern(100)
  sized <- X
  spatstat.geom::marks(sized) <- runif(100)
  expect_equal(qlor_K(sized, r = 1:5)$iso, qlor_K(X, r = 1:5)$iso)
})
