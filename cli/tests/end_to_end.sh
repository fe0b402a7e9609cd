#!/bin/sh
# qv7 against a fresh virtual printer, as a user at a shell would use it.
# Usage: end_to_end.sh PATH/TO/qv7
set -u
qv7=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
device="--device virtual:$work/printer"
failures=0

check() {  # check DESCRIPTION EXPECTED-EXIT-CODE COMMAND...
    description=$1
    expected=$2
    shift 2
    "$@" >out.txt 2>err.txt
    code=$?
    if [ "$code" -ne "$expected" ]; then
        echo "FAIL: $description: exit $code, expected $expected"
        sed 's/^/  out: /' out.txt
        sed 's/^/  err: /' err.txt
        failures=$((failures + 1))
    fi
}

contains() {  # contains DESCRIPTION FILE TEXT
    if ! grep -qF -- "$3" "$2"; then
        echo "FAIL: $1: '$3' not in $2"
        sed 's/^/  /' "$2"
        failures=$((failures + 1))
    fi
}

check "help" 0 "$qv7" --help
contains "help lists get" out.txt "get"
check "version" 0 "$qv7" --version
contains "version names the program" out.txt "qv7 "
check "no command is a usage error" 2 "$qv7"
check "unknown device" 2 "$qv7" --device floppy list

HOME=$work/home check "a folder under the home folder" 0 "$qv7" --device 'virtual:~/shop' list
contains "a new printer says so" err.txt "created a new virtual printer in $work/home/shop"
[ -e "$work/~" ] && { echo "FAIL: a folder named ~ was made"; failures=$((failures + 1)); }
HOME=$work/home check "the second time it is there" 0 "$qv7" --device 'virtual:~/shop' list
[ -s err.txt ] && { echo "FAIL: the notice came twice"; failures=$((failures + 1)); }

check "list a fresh printer" 0 "$qv7" $device list
contains "list shows data folder" out.txt "Data files"
contains "list shows a data slot" out.txt "(Slot 1)  PRICES.dat"
contains "list shows an empty label slot" out.txt "(Slot 30)  <empty slot>"
contains "list shows symbols" out.txt "(Slot 1)  Btmap01.bmp"
check "list as JSON" 0 "$qv7" $device list --json
contains "json has the file" out.txt '"file": "PRICES.dat"'

mkdir fetched
check "get a data file" 0 "$qv7" $device get data 1 fetched
contains "get says it worked" err.txt "Data file transfer successful!"
[ "$(wc -c <fetched/PRICES.dat)" -eq 26536 ] || { echo "FAIL: PRICES.dat is not 26536 bytes"; failures=$((failures + 1)); }
cp fetched/PRICES.dat keep.dat
check "get refuses to replace without asking" 1 "$qv7" $device get data 1 fetched </dev/null
contains "refusal names the file" err.txt "already exists"
check "get replaces with --force" 0 "$qv7" $device get data 1 fetched --force
cmp -s keep.dat fetched/PRICES.dat || { echo "FAIL: forced get changed the bytes"; failures=$((failures + 1)); }

check "send the data file into slot 6" 0 "$qv7" $device send data 6 fetched/PRICES.dat
check "list after send" 0 "$qv7" $device list
contains "slot 6 holds it" out.txt "(Slot 6)  PRICES.dat"
check "get it back from slot 6" 0 "$qv7" $device get data 6 . --force
cmp -s keep.dat PRICES.dat || { echo "FAIL: give then get changed the bytes"; failures=$((failures + 1)); }

printf 'not a data file' >plain.txt
check "send refuses a file that is not a data file" 1 "$qv7" $device send data 7 plain.txt
contains "the system's own failure text" err.txt "Error sending data file!  File may not be a valid QV7 data file..."
check "send a missing file" 1 "$qv7" $device send label 1 nothing.qv7
contains "missing source" err.txt "Please select a valid source file"
contains "and in a command line's words" err.txt "nothing.qv7: not found"
check "slot beyond the printer" 1 "$qv7" $device get data 99
check "slot that is not a number" 2 "$qv7" $device get data one
check "empty slot" 1 "$qv7" $device get label 3

# A printer that names a file "../x" must not write outside the chosen folder.
printf '../x' >printer/slots/DAT/04.name
cp keep.dat printer/slots/DAT/04.data
mkdir inside
check "hostile stored name is refused" 1 "$qv7" $device get data 4 inside
contains "refusal says why" err.txt "cannot be used as a file name"
if [ -e x.dat ] || [ -n "$(ls -A inside)" ]; then
    echo "FAIL: something was written for the hostile name"
    failures=$((failures + 1))
fi

printf 'no-device\n' >printer/faults.txt
check "no printer" 1 "$qv7" $device list
contains "no printer says so" err.txt "Invalid Device Instance"
contains "and which printer was tried" err.txt "tried the virtual printer in $work/printer; 'qv7 doctor'"
rm printer/faults.txt
head -c 7000 /dev/zero | tr '\0' 'a' >long.csv
check "a CSV text over the limit" 1 "$qv7" convert long.csv
contains "the system's words" err.txt "error2:csv[QV7DATAFILE_MAX_CSV_CHARS] is too small"
contains "how long and the limit" err.txt "long.csv holds 7000 characters; a data file takes a CSV text of at most 6539"
# A spreadsheet's "Unicode text" is UTF-16: refused by name, never "1 record".
printf '\377\376N\000a\000,\000b\000\r\000\n\000' >unicode.csv
check "a UTF-16 CSV" 1 "$qv7" convert unicode.csv
contains "named as UTF-16" err.txt "The CSV file is UTF-16"
[ -e unicode.dat ] && { echo "FAIL: a UTF-16 CSV was converted"; failures=$((failures + 1)); }
check "words from the command line are shown escaped" 2 "$qv7" "$(printf 'x\033]0;owned\007')"
contains "unknown command escaped" err.txt "unknown command 'x\x1b]0;owned\x07'"

check "trace a run" 0 "$qv7" $device --trace "$work/trace.txt" info
contains "trace has the type count query" trace.txt "control 0x220014 in=05000000000002000000 out=2 returned=2 ok"

check "get a symbol" 0 "$qv7" $device get symbol 1 .
check "send a symbol back" 0 "$qv7" $device send symbol 2 Btmap01.bmp
cp Btmap01.bmp narrow.bmp
printf '\225' | dd of=narrow.bmp bs=1 seek=18 conv=notrunc 2>/dev/null  # 149 pixels wide
printf 'no-device\n' >printer/faults.txt
check "a symbol that is not 150 x 150 is refused before the printer" 1 "$qv7" $device send symbol 2 narrow.bmp
contains "refusal in the program's words" err.txt "Please select a 150 pixels x 150 pixels monochrome bitmap."
rm printer/faults.txt

printf 'Name,Price\r\nTea,2.50\r\n' >"Shop list.csv"
check "convert a CSV file" 0 "$qv7" convert "Shop list.csv"
[ "$(wc -c <"Shop list.dat")" -eq 26536 ] || { echo "FAIL: converted file size"; failures=$((failures + 1)); }
check "send the converted file" 0 "$qv7" $device send data 8 "Shop list.dat"
check "list shows the database name" 0 "$qv7" $device list
contains "converted name on the printer" out.txt "(Slot 8)  Shop lis.dat"
check "a data file back to CSV" 0 "$qv7" convert "Shop list.dat" back.csv
cmp -s back.csv "Shop list.csv" || { echo "FAIL: the CSV did not come back"; failures=$((failures + 1)); }
printf 'Name,Price\r\nTea,2.50 # kept by hand\r\n' >"Shop list.csv"
check "the user's own CSV is not replaced unasked" 1 "$qv7" convert "Shop list.dat" </dev/null
grep -q "kept by hand" "Shop list.csv" || { echo "FAIL: the user's CSV was replaced"; failures=$((failures + 1)); }
check "with --yes the CSV is replaced" 0 "$qv7" convert "Shop list.dat" --yes
printf 'not a data file' >plain.dat
check "a file without the data file marker" 1 "$qv7" convert plain.dat
contains "refusal says why" err.txt "The file is not a QV7 data file"
[ -e plain.csv ] && { echo "FAIL: a CSV was written for a refused file"; failures=$((failures + 1)); }

# Firmware: the seeded printer holds a 1 MiB (generation 200) image.
export XDG_DATA_HOME="$work/data" QUILLORY_FIRMWARE_DIR="$work/images"
mkdir images
head -c 1048576 /dev/zero | tr '\0' 'E' >images/QV7E_200.bin
cp printer/firmware.bin seeded.bin
check "firmware backup waits for the power steps" 1 "$qv7" $device firmware backup </dev/null
contains "says how to go on" err.txt "--yes"
check "firmware upgrade" 0 "$qv7" $device firmware upgrade --model QV7E --yes
cmp -s seeded.bin data/Quillory/QV7_200_BK.bin || { echo "FAIL: backup differs"; failures=$((failures + 1)); }
cmp -s images/QV7E_200.bin printer/firmware.bin || { echo "FAIL: QV7E_200.bin not sent"; failures=$((failures + 1)); }
check "firmware upgrade without its image" 1 "$qv7" $device firmware upgrade --model QV7EQ --yes
contains "image missing" err.txt "QV7 firmware image could not found."
check "firmware get into a folder" 0 "$qv7" $device firmware get . --yes
contains "named after the driver version" out.txt "QV7_3.bin"
check "firmware restore with a wrong code" 1 "$qv7" $device firmware restore seeded.bin --access-code MIRABEL --yes
contains "wrong code" err.txt "Invalid password contact Orvale technical support"
check "firmware restore" 0 "$qv7" $device firmware restore seeded.bin --access-code mirabel --yes
cmp -s seeded.bin printer/firmware.bin || { echo "FAIL: restore not sent"; failures=$((failures + 1)); }
check "firmware upgrade needs a model" 2 "$qv7" $device firmware upgrade

# ---- hostile names, odd inputs, failures that must say why -------------------

# C1 CSI (U+009B) clears the screen on many terminals; names reach it escaped.
printf '\302\2332J\n' >printer/slots/QV7/05.name
printf 'label' >printer/slots/QV7/05.data
printf 'caf\303\251\n' >printer/slots/QV7/06.name
printf 'label' >printer/slots/QV7/06.data
printf 'old\351\n' >printer/slots/QV7/07.name
printf 'label' >printer/slots/QV7/07.data
# An invisible tag character (U+E0001) lies above U+FFFF.
printf 'A\363\240\200\201B\n' >printer/slots/QV7/08.name
printf 'label' >printer/slots/QV7/08.data
check "list a printer with odd names" 0 "$qv7" $device list
contains "escape sequence shown escaped" out.txt '(Slot 5)  \x9b2J.qv7'
contains "UTF-8 name read as UTF-8" out.txt "(Slot 6)  café.qv7"
contains "other names read as Latin-1" out.txt "(Slot 7)  oldé.qv7"
contains "a tag character shown escaped" out.txt '(Slot 8)  A\U000e0001B.qv7'
if grep -q "$(printf '\302\233')" out.txt; then echo "FAIL: raw CSI reached the terminal"; failures=$((failures + 1)); fi
check "list as JSON with odd names" 0 "$qv7" $device list --json
contains "JSON escapes the control" out.txt '"name": "\u009b2J"'
contains "JSON escapes the tag character" out.txt '"name": "A\udb40\udc01B"'
rm printer/slots/QV7/05.* printer/slots/QV7/06.* printer/slots/QV7/07.* printer/slots/QV7/08.*

# qv7 doctor quotes the folder's texts escaped, as text and as JSON.
mkdir odd
printf 'driver-version 3\ntype \302\2332J 4\n' >odd/printer.txt
check "doctor on a folder with a hostile line" 1 "$qv7" --device virtual:odd doctor
contains "doctor escapes the control" out.txt "type name '\x9b2J'"
check "doctor as JSON" 1 "$qv7" --device virtual:odd doctor --json
contains "doctor's JSON escapes the control" out.txt "type name '\u009b2J'"
[ "$(ls -A odd)" = printer.txt ] || { echo "FAIL: the doctor changed the folder: $(ls -A odd)"; failures=$((failures + 1)); }

mkfifo pipe.qv7
check "send refuses a named pipe" 1 timeout 20 "$qv7" $device send label 1 pipe.qv7
contains "pipe refused as a source" err.txt "Please select a valid source file"
check "convert refuses a named pipe" 1 timeout 20 "$qv7" convert pipe.qv7 piped.dat
contains "pipe refused as CSV" err.txt "Error opening CSV file."

printf 'short-read 2 10\n' >printer/faults.txt
check "failed get" 1 "$qv7" $device get data 1 fetched --force
contains "get says why" err.txt "Read Failed, "
contains "and the program's own words" err.txt "Error receiving data file!"

# A get killed while the printer holds the download leaves nothing behind.
printf 'download-busy-forever\n' >printer/faults.txt
mkdir killed
"$qv7" $device get data 1 killed >/dev/null 2>&1 &
sleep 1
kill -KILL $! 2>/dev/null
wait $! 2>/dev/null
if [ -n "$(ls -A killed)" ]; then echo "FAIL: a killed get left $(ls -A killed)"; failures=$((failures + 1)); fi
rm printer/faults.txt
check "a file size limit kills the get" 153 sh -c "ulimit -f 8; exec \"$qv7\" $device get data 1 killed"
if [ -n "$(ls -A killed)" ]; then echo "FAIL: a get over the size limit left $(ls -A killed)"; failures=$((failures + 1)); fi

# The printer stores a slot as one unit: a store cut short by the file size
# limit leaves the slot as it was, and the folder opens.
head -c 20000 /dev/zero >big.qv7
cp printer/slots/QV7/01.data label1-before
check "send killed by the file size limit" 153 sh -c "ulimit -f 8; exec \"$qv7\" $device send label 1 big.qv7"
check "the printer opens after it" 0 "$qv7" $device list
contains "label slot 1 keeps its name" out.txt "(Slot 1)  Label01.qv7"
cmp -s label1-before printer/slots/QV7/01.data || { echo "FAIL: label slot 1 changed"; failures=$((failures + 1)); }

# A half slot left by an earlier version is passed over and reported.
printf 'orphan' >printer/slots/QV7/09.data
check "a half slot does not close the printer" 0 "$qv7" $device list
contains "the half is reported" err.txt "slots/QV7/09.data has no 09.name"
check "reported once" 0 "$qv7" $device list
[ -s err.txt ] && { echo "FAIL: reported again"; failures=$((failures + 1)); }

# ---- two programs, one printer ------------------------------------------------

printf 'Name\r\nA\r\n' >Alpha.csv
printf 'Name\r\nB\r\nC\r\n' >Bravo.csv
"$qv7" convert Alpha.csv >/dev/null && "$qv7" convert Bravo.csv >/dev/null
torn=0 refused=0 busy=0
round=0
while [ $round -lt 50 ]; do
    round=$((round + 1))
    "$qv7" $device send data 12 Alpha.dat >a.out 2>a.err &
    "$qv7" $device send data 12 Bravo.dat >b.out 2>b.err &
    "$qv7" $device send data $((13 + round % 3)) Alpha.dat >c.out 2>c.err &
    wait
    name=$(head -n 1 printer/slots/DAT/12.name)
    inside=$(dd if=printer/slots/DAT/12.data bs=1 skip=15 count=5 2>/dev/null)
    [ "$name" = "$inside" ] || torn=$((torn + 1))
    cat a.err b.err c.err >round.err
    grep -q "Invalid Device Instance\|virtual printer:" round.err && refused=$((refused + 1))
    grep -q "Device Busy, used by another program" round.err && busy=$((busy + 1))
done
echo "two programs, one printer: 50 rounds, $busy with a busy refusal, $torn torn, $refused refused"
[ $torn -eq 0 ] || { echo "FAIL: $torn torn slots"; failures=$((failures + 1)); }
[ $refused -eq 0 ] || { echo "FAIL: $refused refused folders"; sed 's/^/  /' round.err; failures=$((failures + 1)); }

# File sets, on a printer of their own (the one above now holds a name that
# is no file name), with the schema the build copied beside the program.
device="--device virtual:$work/set-printer"
printf 'dir=%s\n' "$(cd "$(dirname "$qv7")" && pwd)" >machine.conf
export QUILLORY_MACHINE_SETTINGS="$work/machine.conf"
mkdir all
check "get-all to a missing folder" 1 "$qv7" $device get-all "$work/gone" --yes
contains "the folder is named" err.txt "$work/gone: not found"
check "get-all asks first and no one can answer" 1 "$qv7" $device get-all all </dev/null
printf "the user's" >victim.txt
ln -s ../victim.txt all/allFiles.fsd
check "get-all" 0 "$qv7" $device get-all all --yes
contains "get-all summary" err.txt "All files received successfully!"
[ -L all/allFiles.fsd ] && { echo "FAIL: allFiles.fsd is still a link"; failures=$((failures + 1)); }
contains "the link's target is untouched" victim.txt "the user's"
check "send-set sends the written definition back" 0 "$qv7" $device send-set all/allFiles.fsd
contains "send-set summary" err.txt "File set sent sucessfully!"
check "send-set refuses a folder" 1 "$qv7" $device send-set all
contains "send-set names the problem" err.txt "Please select a valid file set definition file"
check "send-set needs a definition" 2 "$qv7" send-set

if [ "$failures" -eq 0 ]; then echo "qv7 end to end: all checks passed"; fi
exit "$failures"
