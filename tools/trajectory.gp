# Height of the ball over one throw, with the bounces marked.
# gnuplot -e "table='trajectory.csv'; picture='trajectory.svg'" trajectory.gp
set terminal svg size 760,380 font 'sans,13' background rgb 'white'
set output picture
set datafile separator ','

set title 'One throw: height of the ball after each step'
set xlabel 'step'
set ylabel 'height (0 = floor)'
set xrange [0:112]
set yrange [0:125]
set xtics 0,10,100
set grid ytics lc rgb '#dddddd'
set key at 108,122 right top

# The ledge the ball is thrown from.
set arrow from 0,100 to 100,100 nohead dashtype 2 lc rgb '#33aa33'
set label 'ledge (launch height)' at 14,107 left tc rgb '#33aa33'

bounce(event, h) = event eq 'bounce' ? h : 1/0
set style fill solid 1.0 noborder
plot table skip 1 using 1:2 with lines lw 2 lc rgb '#3355cc' title 'height', \
     table skip 1 using 1:(bounce(strcol(4), $2)):(0.9) with circles lc rgb '#cc3322' title 'bounce', \
     table skip 1 using 1:(bounce(strcol(4), $2)):(sprintf('bounce, step %d', $1)) \
         with labels left offset 1.5,0.6 tc rgb '#cc3322' notitle
