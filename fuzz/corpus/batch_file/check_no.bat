p.dat
h.dat
