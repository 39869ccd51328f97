b_csr19_mode1.dat
