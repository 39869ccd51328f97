p.dat
b.dat
k.dat
i.dat
