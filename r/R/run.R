# The one place that codes the R choices as the core's numbers and runs it.

qlor_functions <- c(L = 0L, K = 0L, g = 1L, O = 2L)
qlor_nulls <- c("csr", "ssi", "strauss", "cluster", "inhomogeneous", "labels",
                "shift")
# Choices the core takes as their 0-based position in these.
qlor_pair_sets <- c("cross", "11", "22")
qlor_estimators <- c("kernel", "ring")

qlor_choice <- function(value, choices, what) {
  if (!is.character(value) || length(value) != 1 || !(value %in% choices)) {
    qlor_fail(what, " must be one of ", paste0('"', choices, '"', collapse = ", "))
  }
  value
}

# A number, checked; `unset` when value is NULL and an unset is given.
qlor_number <- function(value, what, whole = FALSE, positive = FALSE,
                        unset = NULL) {
  if (is.null(value) && !is.null(unset)) return(unset)
  if (!is.numeric(value) || length(value) != 1 || is.na(value) ||
      !is.finite(value)) {
    qlor_fail(what, " must be a number")
  }
  if (whole && value != round(value)) qlor_fail(what, " must be a whole number")
  if (positive && value <= 0) qlor_fail(what, " must be above 0")
  value
}

# Runs the core; returns its list (t, curves, csr_value, seed, ...).
qlor_core_run <- function(pattern, fun, nsim, null, model, r, pairs,
                          intensity, sigma, bandwidth, estimator, seed,
                          threads, observed_only = FALSE) {
  fun <- qlor_choice(fun, names(qlor_functions), "fun")
  null <- qlor_choice(null, qlor_nulls, "null")
  pairs <- qlor_choice(pairs, qlor_pair_sets, "pairs")
  estimator <- qlor_choice(estimator, qlor_estimators, "estimator")
  nsim <- qlor_number(nsim, "nsim", whole = TRUE, positive = TRUE)
  bivariate <- length(pattern$species) > 0
  if (null %in% c("labels", "shift") && !bivariate) {
    qlor_fail('null = "', null, '" needs a pattern of two species')
  }
  radius <- 0
  c <- 0
  centres <- 0L
  process <- 0L
  if (null %in% c("ssi", "strauss")) {
    process <- 1L
    radius <- qlor_number(model[["radius"]], "radius", positive = TRUE)
    c <- if (null == "ssi") 0 else qlor_number(model[["c"]], "c")
  } else if (null == "cluster") {
    process <- 2L
    radius <- qlor_number(model[["radius"]], "radius", positive = TRUE)
    c <- qlor_number(model[["c"]], "c", unset = 0)
    centres <- qlor_number(model[["centres"]], "centres", whole = TRUE,
                           positive = TRUE)
  }
  intensity_source <- 0L
  intensity_path <- ""
  if (null == "inhomogeneous") {
    if (fun == "O") qlor_fail('fun = "O" has no inhomogeneous version')
    intensity_source <- 1L
    if (!is.null(intensity)) {
      intensity_source <- 2L
      intensity_path <- qlor_intensity_file(intensity, pattern)
      on.exit(unlink(intensity_path), add = TRUE)
    }
  } else if (!is.null(intensity)) {
    qlor_fail('intensity is for null = "inhomogeneous"')
  }
  sigma <- qlor_number(sigma, "sigma", positive = TRUE, unset = 0)
  bandwidth <- qlor_number(bandwidth, "bandwidth", positive = TRUE, unset = 0)
  seed <- qlor_number(seed, "seed", whole = TRUE, unset = NA_real_)
  if (!is.na(seed) && (seed < 0 || seed > 4294967295)) {
    qlor_fail("seed must be 0 .. 2^32 - 1")
  }
  threads <- qlor_number(threads, "threads", whole = TRUE, positive = TRUE,
                         unset = 0L)
  d <- qlor_distances(r, pattern)
  numbers <- list(xmax = pattern$xmax, ymax = pattern$ymax, t_min = d$t_min,
                  t_interval = d$t_interval, t_max = d$t_max,
                  nsim = as.integer(nsim), radius = as.double(radius),
                  c = as.double(c), centres = as.integer(centres),
                  bandwidth = as.double(bandwidth), sigma = as.double(sigma),
                  seed = as.double(seed), threads = as.integer(threads))
  show <- interactive() && nsim >= 20
  bar <- NULL
  progress <- function(kept) {
    if (is.null(bar)) bar <<- utils::txtProgressBar(min = 0, max = nsim + 1,
                                                    style = 3)
    utils::setTxtProgressBar(bar, kept)
  }
  choices <- list(process = process, "function" = qlor_functions[[fun]],
                  null = switch(null, labels = 1L, shift = 2L, 0L),
                  pairs = match(pairs, qlor_pair_sets) - 1L,
                  estimator = match(estimator, qlor_estimators) - 1L,
                  randomize = 1L,
                  generator = 0L,  # Philox, keyed by the seed and pattern
                  intensity = intensity_source, intensity_path = intensity_path,
                  progress = show && !observed_only,
                  observed_only = observed_only)
  out <- .qlor_run(pattern$x, pattern$y, pattern$species, numbers, choices,
                   progress)
  if (!is.null(bar)) close(bar)
  if (isTRUE(out$interrupted)) {
    stop(structure(class = c("interrupt", "condition"),
                   list(message = "qlor: interrupted", call = NULL)))
  }
  if (!is.null(out$error)) qlor_fail(qlor_message(out$error))
  out$fun <- fun
  out$null <- null
  out$t_interval <- d$t_interval
  out
}

# The core's message as the console shows it (without its trailing blanks),
# and its allocation tags as words.
qlor_message <- function(text) {
  text <- sub("[[:space:]]+$", "", text)
  if (grepl("^MAF:[0-9]$", text)) {
    return(paste0("QLOR could not allocate the memory the run needs (", text, ")"))
  }
  text
}

# An intensity image (one im, or a list of two for two species) as the grid
# file the core reads: a CSV of the cell centres, as as.data.frame() of an
# im gives them, moved with the pattern to the plot's origin.
qlor_intensity_file <- function(intensity, pattern) {
  images <- if (inherits(intensity, "im")) list(intensity) else intensity
  bivariate <- length(pattern$species) > 0
  wanted <- if (bivariate) 2 else 1
  if (!is.list(images) || length(images) != wanted ||
      !all(vapply(images, inherits, logical(1), "im"))) {
    qlor_fail("intensity must be ", if (bivariate) "a list of two spatstat images (one per species)"
              else "a spatstat image (im)")
  }
  frames <- lapply(images, as.data.frame)
  grid <- data.frame(x = frames[[1]]$x - pattern$origin[1],
                     y = frames[[1]]$y - pattern$origin[2])
  if (bivariate) {
    if (!isTRUE(all.equal(frames[[1]][, 1:2], frames[[2]][, 1:2]))) {
      qlor_fail("the two intensity images must have the same pixels")
    }
    grid$intensity1 <- frames[[1]]$value
    grid$intensity2 <- frames[[2]]$value
  } else {
    grid$intensity <- frames[[1]]$value
  }
  path <- tempfile("qlor-intensity", fileext = ".csv")
  utils::write.csv(grid, path, row.names = FALSE)
  path
}
