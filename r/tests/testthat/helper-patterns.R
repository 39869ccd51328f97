# Small patterns that every test can afford.
csr_pattern <- function(n = 200, xmax = 100, ymax = 60, seed = 7) {
  set.seed(seed)
  spatstat.geom::ppp(round(runif(n, 0, xmax), 2), round(runif(n, 0, ymax), 2),
                     window = spatstat.geom::owin(c(0, xmax), c(0, ymax)))
}

two_species <- function(n = 200, seed = 8) {
  X <- csr_pattern(n, seed = seed)
  spatstat.geom::marks(X) <- factor(ifelse(seq_len(n) %% 3 == 0, "oak", "beech"),
                                    levels = c("oak", "beech"))
  X
}

# The console program, when the test runner names it (QLOR_BIN).
qlor_binary <- function() {
  bin <- Sys.getenv("QLOR_BIN")
  if (!nzchar(bin) || !file.exists(bin)) skip("QLOR_BIN not set")
  bin
}
