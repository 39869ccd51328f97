clu.dat
