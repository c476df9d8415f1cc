# bench-ratios.awk RATIOS RESULTS.csv...: the table of ./run bench. RATIOS holds "benchmark
# reference what" lines; each RESULTS file is Google Benchmark's CSV output of one program.
# A time is the CPU time of one iteration in milliseconds (steadier than wall time on a shared
# machine, and what Google Benchmark rates items by); a rate, the items per second.

function ms(t, unit) {
  if (unit == "ns") return t / 1e6
  if (unit == "us") return t / 1e3
  if (unit == "s") return t * 1e3
  return t
}
function rate(r) { return r == "" ? "-" : sprintf("%.3g", r) }
function base(name) { sub(/\/.*/, "", name); return name }
function args(name) { return index(name, "/") ? substr(name, index(name, "/")) : "" }

FNR == 1 { header = 0 }
FILENAME == ARGV[1] {
  if ($0 ~ /^[ \t]*(#|$)/) next
  npairs++
  pair_bench[npairs] = $1
  pair_ref[npairs] = $2
  what = $0
  sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]*/, "", what)
  pair_what[npairs] = what
  next
}
# The CSV part of a file starts at its header line; the context lines before it are skipped.
/^name,/ { header = 1; FS = ","; next }
header {
  # name,iterations,real_time,cpu_time,time_unit,bytes_per_second,items_per_second,label,...
  name = $1
  gsub(/"/, "", name)
  if ($9 == "true") next
  if (!(name in time)) order[++nresults] = name
  time[name] = ms($4, $5)
  items[name] = $7
}
END {
  for (i = 1; i <= nresults; i++) {
    name = order[i]
    for (p = 1; p <= npairs; p++) {
      if (base(name) != pair_bench[p]) continue
      ref = pair_ref[p] args(name)
      if (!(ref in time)) ref = pair_ref[p]
      if (!(ref in time)) continue
      row[++nrows] = sprintf("%-32s %10.3f %10s   %-30s %10.3f %10s %8.2fx  %s", name, time[name],
                             rate(items[name]), ref, time[ref], rate(items[ref]),
                             time[name] / time[ref], pair_what[p])
    }
  }
  if (nrows == 0) { print "no benchmark with a reference ran"; exit }
  printf "%-32s %10s %10s   %-30s %10s %10s %9s\n", "benchmark", "CPU ms", "items/s", "reference", "CPU ms",
         "items/s", "ratio"
  for (i = 1; i <= nrows; i++) print row[i]
}
