2p.dat
in.bat
r.dat
last.dat