in.bat
.
 p.dat
p.dat 
