library(testthat)
library(qlor)
test_check("qlor")
