# The estimates against spatstat's isotropic estimators on two surveys.

test_that("qlor_K equals Kest(correction = 'isotropic') on two surveys", {
  skip_if_not_installed("spatstat.data")
  for (name in c("swedishpines", "japanesepines")) {
    surveys <- new.env()
    utils::data(list = name, package = "spatstat.data", envir = surveys)
    X <- get(name, envir = surveys)
    X <- spatstat.geom::unmark(X)
    W <- X$window
    side <- min(diff(W$xrange), diff(W$yrange))
    # A step that no distance between the surveys' rounded coordinates
    # equals: ties at the interval bounds are left out.
    step <- side / 97
    r <- step * 1:24
    ours <- qlor_K(X, r = r)
    theirs <- spatstat.explore::Kest(X, r = c(0, r), correction = "isotropic")
    n <- X$n
    # spatstat divides the weighted pair count by n (n - 1) / area, QLOR by
    # n^2 / area.
    expect_equal(ours$iso, theirs$iso[-1] * (n - 1) / n, tolerance = 1e-8,
                 info = name)
    expect_equal(ours$theo, pi * r^2)
  }
})

test_that("an envelope's observed L is L(r) - r plus r, and K is pi L^2", {
  X <- csr_pattern()
  L <- qlor_envelope(X, "L", nsim = 19, seed = 3)
  K <- qlor_envelope(X, "K", nsim = 19, seed = 3)
  expect_s3_class(L, "envelope")
  expect_equal(L$theo, L$r)
  expect_equal(K$obs, pi * L$obs^2)
  expect_equal(K$hi, pi * L$hi^2)
  expect_true(all(L$lo <= L$hi))
  expect_equal(length(L$r), 50)
  expect_equal(max(L$r), 60 / 4)
  df <- as.data.frame(L)
  expect_named(df, c("r", "obs", "theo", "lo", "hi"))
})

test_that("a seed gives the same envelope, and another seed another one", {
  X <- two_species()
  a <- qlor_envelope(X, "g", nsim = 19, null = "labels", seed = 11)
  b <- qlor_envelope(X, "g", nsim = 19, null = "labels", seed = 11, threads = 1)
  c <- qlor_envelope(X, "g", nsim = 19, null = "labels", seed = 12)
  expect_identical(a$hi, b$hi)
  expect_false(identical(a$hi, c$hi))
  expect_equal(a$theo, rep(1, length(a$r)))
})

test_that("an intensity image gives the inhomogeneous run of its grid", {
  X <- csr_pattern()
  # A flat image at the pattern's own intensity n / area: each pair's weight
  # 1 / lambda^2 is the homogeneous estimate's (area / n)^2, so the curves
  # agree.
  flat <- spatstat.geom::as.im(X$n / 6000, W = X$window, dimyx = c(6, 10))
  inhom <- qlor_envelope(X, "L", nsim = 19, null = "inhomogeneous",
                         intensity = flat, seed = 2)
  homog <- qlor_envelope(X, "L", nsim = 19, seed = 2)
  expect_equal(inhom$obs, homog$obs, tolerance = 1e-5)
  expect_equal(attr(inhom, "fname"), "Linhom")
})

test_that("every null model and function runs and names its curve", {
  X <- csr_pattern(150)
  B <- two_species(150)
  cases <- list(
    list(X, "L", "ssi", list(radius = 1), "L", 0),
    list(X, "K", "strauss", list(radius = 2, c = 0.3), "K", 0),
    list(X, "g", "cluster", list(radius = 3, centres = 10), "g", 1),
    list(X, "O", "csr", list(), "O", 150 / 6000),
    list(X, "g", "inhomogeneous", list(), "ginhom", 1),
    list(B, "L", "shift", list(), "L", 0),
    list(B, "g", "labels", list(), "g", 1))
  for (case in cases) {
    env <- do.call(qlor_envelope, c(list(case[[1]], case[[2]], nsim = 19,
                                         null = case[[3]], seed = 9),
                                    case[[4]]))
    what <- paste(case[[2]], case[[3]])
    expect_equal(attr(env, "fname"), case[[5]], info = what)
    expect_true(all(env$lo <= env$hi), info = what)
    theo <- switch(case[[2]], L = env$r, K = pi * env$r^2,
                   rep(case[[6]], length(env$r)))
    expect_equal(env$theo, theo, tolerance = 1e-12, info = what)
  }
  cross <- qlor_envelope(B, "L", nsim = 19, null = "labels", seed = 9)
  within <- qlor_envelope(B, "L", nsim = 19, null = "labels", pairs = "11",
                          seed = 9)
  expect_false(identical(cross$obs, within$obs))
})
