p.dat
