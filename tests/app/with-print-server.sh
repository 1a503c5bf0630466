#!/bin/sh
# Runs a test program with a private CUPS print server holding one queue, "pdf", that writes
# each job into a PDF file. The program finds the server through CUPS_SERVER and the server's
# job files through KADRIX_TEST_SPOOL. Exits 77 (skipped) when CUPS is not installed.
ppd=/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd
for tool in /usr/sbin/cupsd /usr/sbin/lpadmin; do
    if [ ! -x "$tool" ]; then echo "$tool is not installed: skipped"; exit 77; fi
done
if [ ! -f "$ppd" ]; then echo "$ppd is not installed: skipped"; exit 77; fi

dir=$(mktemp -d /tmp/kadrix-cups-XXXXXX)
mkdir -p "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log" "$dir/ppd"
# The print filters run as user lp: they must reach the folders and write the output.
chmod -R a+rwx "$dir"
cat >"$dir/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel warn
PreserveJobHistory Yes
PreserveJobFiles No
<Location />
  Order allow,deny
  Allow all
</Location>
CONF
cat >"$dir/cups-files.conf" <<CONF
ServerRoot $dir
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
FileDevice Yes
CONF
/usr/sbin/cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
pid=$!
export CUPS_SERVER="$dir/cups.sock"
tries=0
until [ -S "$dir/cups.sock" ] && /usr/bin/lpstat -r >/dev/null 2>&1; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ]; then echo "cupsd did not start:"; cat "$dir/log/"*; kill $pid; exit 1; fi
    sleep 0.1
done
/usr/sbin/lpadmin -p pdf -E -v "file://$dir/job.pdf" -P "$ppd"
KADRIX_TEST_SPOOL="$dir/spool" "$@"
status=$?
kill $pid
wait $pid 2>/dev/null
rm -rf "$dir"
exit $status
