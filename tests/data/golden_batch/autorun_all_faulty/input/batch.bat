f_tint_zero.dat

f_x_equals_axis.dat
never read.dat