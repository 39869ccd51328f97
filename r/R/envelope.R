# Envelopes, estimates and tests as spatstat objects.

qlor_fname <- function(fun, inhom) {
  base <- switch(fun, L = "L", K = "K", g = "g", O = "O")
  if (inhom) paste0(base, "inhom") else base
}

# The curve of the core (L(t) - t, g or O) as the function R users read:
# L(r) = (L(r) - r) + r, K(r) = pi L(r)^2.
qlor_transform <- function(values, r, fun) {
  switch(fun, L = values + r, K = pi * (values + r)^2, values)
}

qlor_theory <- function(run, r) {
  switch(run$fun, L = r + run$csr_value, K = pi * r^2,
         rep(run$csr_value, length(r)))
}

qlor_fv <- function(df, fun, inhom, labels, descriptions, valu = "obs") {
  fname <- qlor_fname(fun, inhom)
  spatstat.explore::fv(df, argu = "r", ylab = substitute(f(r), list(f = as.name(fname))),
                       valu = valu, fmla = . ~ r, alim = range(df$r),
                       labl = labels, desc = descriptions, fname = fname)
}

#' @export
qlor_envelope <- function(X, fun = "L", nsim = 99, null = "csr", ...,
                          r = NULL, pairs = "cross", intensity = NULL,
                          sigma = NULL, bandwidth = NULL, estimator = "kernel",
                          seed = NULL, threads = NULL, window = NULL) {
  pattern <- qlor_pattern(X, window)
  model <- list(...)
  unknown <- setdiff(names(model), c("radius", "c", "centres"))
  if (length(unknown) > 0 || (length(model) > 0 && is.null(names(model)))) {
    qlor_fail("unknown argument(s): ", paste(unknown, collapse = ", "))
  }
  run <- qlor_core_run(pattern, fun, nsim, null, model, r, pairs, intensity,
                       sigma, bandwidth, estimator, seed, threads)
  rr <- run$t
  curve <- run$curves[[1]]
  df <- data.frame(r = rr,
                   obs = qlor_transform(curve$patterns[1, ], rr, run$fun),
                   theo = qlor_theory(run, rr),
                   lo = qlor_transform(curve$lo, rr, run$fun),
                   hi = qlor_transform(curve$hi, rr, run$fun))
  inhom <- run$null == "inhomogeneous"
  out <- qlor_fv(df, run$fun, inhom,
                 labels = c("r", "hat(%s)[obs](r)", "%s[theo](r)",
                            "hat(%s)[lo](r)", "hat(%s)[hi](r)"),
                 descriptions = c("distance argument r",
                                  "observed value of %s for data pattern",
                                  "theoretical value of %s under the null model",
                                  "lower pointwise envelope of %s from simulations",
                                  "upper pointwise envelope of %s from simulations"))
  spatstat.explore::fvnames(out, ".") <- c("obs", "theo", "hi", "lo")
  attr(out, "shade") <- c("lo", "hi")
  variance <- run$n_simulations >= 100
  attr(out, "einfo") <- list(
    global = FALSE, ginterval = NULL, csr = run$null == "csr", pois = TRUE,
    simtype = if (run$null == "csr") "csr" else "func",
    constraints = paste0("(QLOR null model \"", run$null, "\")"),
    nrank = 1, nsim = run$n_simulations, VARIANCE = variance, nSD = 1.96,
    Yname = deparse(substitute(X)), valname = "isotropic",
    use.theory = run$null == "csr", alternative = "two.sided",
    dual = FALSE, nsim2 = run$n_simulations)
  class(out) <- c("envelope", class(out))
  attr(out, "qlor") <- list(patterns = curve$patterns, t = rr,
                            t_interval = run$t_interval, fun = run$fun,
                            csr_value = run$csr_value, seed = run$seed,
                            null = run$null, suffix = curve$suffix)
  out
}

qlor_estimate <- function(X, fun, r, null = "csr", sigma = NULL,
                          bandwidth = NULL, window = NULL) {
  pattern <- qlor_pattern(X, window)
  run <- qlor_core_run(pattern, fun, 19, null, list(), r, "cross", NULL, sigma,
                       bandwidth, "kernel", 1, 1, observed_only = TRUE)
  rr <- run$t
  est <- run$curves[[1]]$observed_exact
  df <- data.frame(r = rr, theo = qlor_theory(run, rr),
                   iso = qlor_transform(est, rr, fun))
  qlor_fv(df, fun, null == "inhomogeneous",
          labels = c("r", "%s[pois](r)", "hat(%s)[iso](r)"),
          descriptions = c("distance argument r",
                           "theoretical Poisson %s",
                           "isotropic-corrected estimate of %s"),
          valu = "iso")
}

#' @export
qlor_K <- function(X, r = NULL, window = NULL) {
  qlor_estimate(X, "K", r, window = window)
}

#' @export
qlor_g <- function(X, r = NULL, bandwidth = NULL, window = NULL) {
  qlor_estimate(X, "g", r, bandwidth = bandwidth, window = window)
}

#' @export
qlor_Kinhom <- function(X, r = NULL, lambda = NULL, window = NULL) {
  if (!is.null(lambda) && !is.numeric(lambda)) {
    qlor_fail("lambda must be the kernel's sigma (a number) or NULL")
  }
  qlor_estimate(X, "K", r, null = "inhomogeneous", sigma = lambda,
                window = window)
}

qlor_run_of <- function(env) {
  info <- attr(env, "qlor")
  if (!inherits(env, "envelope") || is.null(info)) {
    qlor_fail("env must be an envelope from qlor_envelope()")
  }
  info
}

#' @export
qlor_test <- function(env, type = c("supremum", "cvm"), centre = c("csr", "mean")) {
  info <- qlor_run_of(env)
  type <- match.arg(type)
  centre <- match.arg(centre)
  t <- .qlor_test(info$patterns, info$t, if (type == "supremum") 0L else 1L,
                  if (centre == "csr") 0L else 1L, info$csr_value,
                  info$t_interval)
  structure(list(statistic = t$statistics[1], rank = t$rank, p = t$p,
                 nsim = nrow(info$patterns) - 1, type = type,
                 statistics = t$statistics),
            class = "qlor_test")
}

#' @export
print.qlor_test <- function(x, ...) {
  cat(if (x$type == "supremum") "Supremum test" else "Cramer-von Mises test",
      ": rank ", x$rank, " of ", x$nsim + 1, ", p = ", format(x$p), "\n",
      sep = "")
  invisible(x)
}

#' @export
qlor_global <- function(env, alpha = 0.05) {
  info <- qlor_run_of(env)
  alpha <- qlor_number(alpha, "alpha")
  if (alpha <= 0 || alpha >= 1) qlor_fail("alpha must lie between 0 and 1")
  g <- .qlor_global(info$patterns, alpha)
  r <- info$t
  obs <- qlor_transform(info$patterns[1, ], r, info$fun)
  lo <- qlor_transform(g$lo, r, info$fun)
  hi <- qlor_transform(g$hi, r, info$fun)
  structure(list(p = g$p, alpha = alpha, r = r, obs = obs, lo = lo, hi = hi,
                 theo = env$theo, fname = attr(env, "fname"),
                 nsim = nrow(info$patterns) - 1,
                 outside = which(obs < lo | obs > hi)),
            class = "qlor_global")
}

#' @export
print.qlor_global <- function(x, ...) {
  cat("Global envelope test (extreme rank length): p = ", format(x$p), " (",
      x$nsim, " simulations)\n", sep = "")
  if (length(x$outside) > 0) {
    cat("Outside the ", 100 * (1 - x$alpha), " % global envelope at r = ",
        paste(format(x$r[x$outside]), collapse = ", "), "\n", sep = "")
  }
  invisible(x)
}

#' @export
plot.qlor_global <- function(x, ..., main = NULL) {
  name <- x$fname[1]
  if (is.null(main)) {
    main <- sprintf("%s: global envelope, p = %s", name, format(x$p, digits = 3))
  }
  graphics::plot(x$r, x$obs, type = "n", ylim = range(x$lo, x$hi, x$obs, x$theo),
                 xlab = "r", ylab = paste0(name, "(r)"), main = main, ...)
  graphics::polygon(c(x$r, rev(x$r)), c(x$lo, rev(x$hi)), col = "grey85",
                    border = NA)
  graphics::lines(x$r, x$theo, lty = 2, col = "red")
  graphics::lines(x$r, x$obs)
  if (length(x$outside) > 0) {
    graphics::points(x$r[x$outside], x$obs[x$outside], pch = 16, col = "red")
  }
  graphics::legend("topleft", bty = "n",
                   legend = c("observed", "null value",
                              sprintf("%g %% global envelope", 100 * (1 - x$alpha)),
                              "outside the envelope"),
                   lty = c(1, 2, NA, NA), pch = c(NA, NA, 15, 16),
                   col = c("black", "red", "grey85", "red"))
  invisible(x)
}
