u_csr19_int.dat
missing.dat
f_x_equals_axis.dat
