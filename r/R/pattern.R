# From what R users hold to what the core takes: points in a plot
# [0, xmax] x [0, ymax], species coded 0 (the first level) and 1.

qlor_fail <- function(...) stop(paste0(...), call. = FALSE)

# X: a spatstat ppp in a rectangular window, or a data.frame with x, y (and
# species) and `window = c(xmax, ymax)`. Returns the points moved so that the
# window's corner is the origin, the offset, and the species' names.
qlor_pattern <- function(X, window = NULL) {
  if (inherits(X, "ppp")) {
    W <- X$window
    if (W$type != "rectangle") qlor_fail("QLOR needs a rectangular plot")
    x <- X$x - W$xrange[1]
    y <- X$y - W$yrange[1]
    xmax <- diff(W$xrange)
    ymax <- diff(W$yrange)
    origin <- c(W$xrange[1], W$yrange[1])
    marks <- if (spatstat.geom::is.marked(X)) spatstat.geom::marks(X) else NULL
    if (is.data.frame(marks)) {
      qlor_fail("QLOR takes a pattern with one factor of marks (the species)")
    }
    # Only a factor (or text) names species; numeric marks such as stem
    # diameters are left aside, as spatstat's Lest does.
    if (!is.null(marks) && !is.factor(marks) && !is.character(marks)) {
      marks <- NULL
    }
  } else if (is.data.frame(X)) {
    if (!all(c("x", "y") %in% names(X))) {
      qlor_fail("the data.frame needs columns x and y")
    }
    if (!is.numeric(window) || length(window) != 2 || anyNA(window) ||
        any(window <= 0)) {
      qlor_fail("a data.frame needs window = c(xmax, ymax), two numbers above 0")
    }
    x <- X$x
    y <- X$y
    if (!is.numeric(x) || !is.numeric(y)) qlor_fail("x and y must be numbers")
    xmax <- window[1]
    ymax <- window[2]
    origin <- c(0, 0)
    marks <- if ("species" %in% names(X)) X$species else NULL
  } else {
    qlor_fail("X must be a spatstat ppp or a data.frame with x and y")
  }
  if (anyNA(x) || anyNA(y)) qlor_fail("QLOR needs every point's x and y (NA found)")
  # QLOR's plot is [0, xmax) x [0, ymax); spatstat's window holds its upper
  # and right edges. A point on them moves inside by the least amount.
  on_edge <- x == xmax | y == ymax
  if (inherits(X, "ppp") && any(on_edge)) {
    x[x == xmax] <- xmax * (1 - 2^-52)
    y[y == ymax] <- ymax * (1 - 2^-52)
    warning(sum(on_edge), " point(s) on the window's upper or right edge moved",
            " just inside (QLOR's plot is [0, xmax) x [0, ymax))", call. = FALSE)
  }
  species <- integer(0)
  levels <- NULL
  if (!is.null(marks)) {
    f <- as.factor(marks)
    levels <- levels(droplevels(f))
    if (anyNA(f)) qlor_fail("QLOR needs every point's species (NA found)")
    if (length(levels(f)) > 2 || length(levels) > 2) {
      qlor_fail("QLOR analyses one or two species; the marks have ",
                length(levels(f)), " levels")
    }
    if (length(levels(f)) == 2) {
      levels <- levels(f)
      species <- as.integer(f) - 1L
    } else {
      levels <- NULL
    }
  }
  list(x = as.double(x), y = as.double(y), species = species,
       xmax = as.double(xmax), ymax = as.double(ymax), origin = origin,
       levels = levels, n = length(x))
}

# The run's distances from r: 1/4 of the shorter side in 50 equal steps when
# NULL; otherwise equally spaced values above 0.
qlor_distances <- function(r, pattern) {
  if (is.null(r)) {
    step <- min(pattern$xmax, pattern$ymax) / 4 / 50
    return(list(t_min = step, t_interval = step, t_max = 50 * step))
  }
  if (!is.numeric(r) || length(r) < 2 || anyNA(r)) {
    qlor_fail("r must be two or more numbers")
  }
  if (r[1] <= 0) qlor_fail("r must start above 0")
  step <- r[2] - r[1]
  if (step <= 0 || any(abs(diff(r) - step) > 1e-9 * max(abs(r)))) {
    qlor_fail("r must be equally spaced and increasing")
  }
  ratio <- r[1] / step
  if (abs(ratio - round(ratio)) > 1e-9 * max(1, ratio)) {
    qlor_fail("r must start at a whole multiple of its step")
  }
  list(t_min = r[1], t_interval = step, t_max = r[length(r)])
}
