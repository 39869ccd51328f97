u_csr19_int.dat
