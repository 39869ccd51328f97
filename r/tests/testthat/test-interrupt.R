# An interrupt stops a long run after a pattern, R goes on, and a run after
# it works.

test_that("an interrupt stops a run cleanly", {
  skip_on_os("windows")
  dir <- tempfile("qlor")
  dir.create(dir)
  script <- file.path(dir, "run.R")
  pid_file <- file.path(dir, "pid")
  out_file <- file.path(dir, "out")
  writeLines(c(
    "suppressMessages(library(qlor))",
    "set.seed(1)",
    "X <- data.frame(x = runif(4000, 0, 100), y = runif(4000, 0, 100))",
    sprintf("writeLines(as.character(Sys.getpid()), '%s')", pid_file),
    "r <- tryCatch({qlor_envelope(X, nsim = 999, window = c(100, 100), threads = 1); 'finished'},",
    "              interrupt = function(e) 'interrupted')",
    "ok <- qlor_envelope(X[1:200, ], nsim = 19, window = c(100, 100), seed = 1)",
    sprintf("writeLines(c(r, class(ok)[1]), '%s')", out_file)), script)
  rscript <- file.path(R.home("bin"), "Rscript")
  system2(rscript, script, wait = FALSE, stdout = FALSE, stderr = FALSE)
  for (i in 1:100) if (!file.exists(pid_file)) Sys.sleep(0.1)
  Sys.sleep(1.5)
  tools::pskill(as.integer(readLines(pid_file)), tools::SIGINT)
  for (i in 1:300) if (!file.exists(out_file)) Sys.sleep(0.1)
  expect_identical(readLines(out_file), c("interrupted", "envelope"))
  unlink(dir, recursive = TRUE)
})
