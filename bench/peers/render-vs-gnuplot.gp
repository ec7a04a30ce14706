# SPDX-License-Identifier: GPL-3.0-or-later
# The gnuplot side of render-vs-gnuplot: gnuplot -c render-vs-gnuplot.gp SIZE SAMPLES OUT.png
# The same x range as a default Linienwerk picture; y is left to gnuplot's autoscaling.
set terminal png size int(ARG1), int(ARG1)
set output ARG3
set samples int(ARG2)
set xrange [-10:10]
plot 2*x**2+3*x-4
