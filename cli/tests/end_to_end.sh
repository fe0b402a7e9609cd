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
rm printer/faults.txt

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

# File sets, on a printer of their own (the one above now holds a name that
# is no file name), with the schema the build copied beside the program.
device="--device virtual:$work/set-printer"
printf 'dir=%s\n' "$(cd "$(dirname "$qv7")" && pwd)" >machine.conf
export QUILLORY_MACHINE_SETTINGS="$work/machine.conf"
mkdir all
check "get-all asks first and no one can answer" 1 "$qv7" $device get-all all </dev/null
check "get-all" 0 "$qv7" $device get-all all --yes
contains "get-all summary" err.txt "All files received successfully!"
check "send-set sends the written definition back" 0 "$qv7" $device send-set all/allFiles.fsd
contains "send-set summary" err.txt "File set sent sucessfully!"
check "send-set refuses a folder" 1 "$qv7" $device send-set all
contains "send-set names the problem" err.txt "Please select a valid file set definition file"
check "send-set needs a definition" 2 "$qv7" send-set

if [ "$failures" -eq 0 ]; then echo "qv7 end to end: all checks passed"; fi
exit "$failures"
