missing.dat
u_csr19_int.dat
f_tint_zero.dat
