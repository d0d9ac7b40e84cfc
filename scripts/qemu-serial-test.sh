#!/usr/bin/env bash
# Runs the built dtu-config in a QEMU guest on the kernel's own serial drivers: the 16550 UART (8250, /dev/ttyS1)
# and an FTDI USB adapter (ftdi_sio, reached by its /dev/serial/by-id name), each wired to a dtu-sim on a host
# pseudo-terminal. QEMU's trace of what each driver programmed into its UART tells the line settings every
# command went out with, which a pseudo-terminal alone cannot show (it forces 8 data bits and no parity).
# Usage: qemu-serial-test.sh [BUILD_DIR]   (default build/default). Exits 77 when QEMU cannot run at all.
# QEMU_BOOT_SECONDS (default 60) is how long a boot may take before it counts as hung and is tried once more;
# QEMU_ACCEL (default tcg) may name kvm where it works.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/default}" && pwd)
tool=$build/src/main/dtu-config
sim=$build/tools/dtu-sim/dtu-sim
work=$build/qemu
adapter_serial=DTU0042  # the USB adapter's serial number, as {serial} and in its by-id name
by_id=/dev/serial/by-id/usb-QEMU_QEMU_USB_SERIAL_$adapter_serial-if00-port0
skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
failures=0

kernel() { ls /boot/vmlinuz-* 2>/dev/null | sort -V | tail -n 1; }
if ! command -v qemu-system-x86_64 >/dev/null || [ -z "$(kernel)" ]; then bash "$root/scripts/setup.sh"; fi
command -v qemu-system-x86_64 >/dev/null || skip "no qemu-system-x86_64 on this machine"
vmlinuz=$(kernel)
[ -r "$vmlinuz" ] || skip "no readable guest kernel in /boot"
kver=${vmlinuz#/boot/vmlinuz-}
mkdir -p "$work"

# --- The guest's initramfs, rebuilt only when one of its inputs changed -----------------------------------
guest_programs=("$tool" /lib/systemd/systemd-udevd /bin/udevadm /usr/bin/setpriv)
modules=$(modprobe -S "$kver" --show-depends ftdi_sio; modprobe -S "$kver" --show-depends xhci_pci)
modules=$(awk '$1 == "insmod" && !seen[$2]++ { print $2 }' <<<"$modules")
libraries=$(ldd "${guest_programs[@]}" | awk '$2 == "=>" && $3 ~ /^\// { print $3 } $1 ~ /^\/lib64\// { print $1 }' |
  sort -u)
rules=(/lib/udev/rules.d/50-udev-default.rules /lib/udev/rules.d/60-serial.rules)
inputs=("$0" "${guest_programs[@]}" /bin/busybox "$root/scripts/qemu-guest-init.sh" "${rules[@]}" $modules $libraries)
key=$(sha256sum "${inputs[@]}" | sha256sum | cut -c1-16)
initramfs=$work/initramfs-$key.cpio
if [ ! -f "$initramfs" ]; then
  echo "Building the guest's initramfs ($initramfs)"
  rm -f "$work"/initramfs-*.cpio
  tree=$(mktemp -d)
  chmod 755 "$tree"  # the root of the guest, which the user outside dialout walks too
  mkdir -p "$tree"/{bin,sbin,usr/bin,usr/sbin,lib/udev/rules.d,etc,proc,sys,dev,modules,opt/dtu}
  cp /bin/busybox "$tree/bin/"
  cp "$root/scripts/qemu-guest-init.sh" "$tree/init"
  cp "${rules[@]}" "$tree/lib/udev/rules.d/"
  for file in /lib/systemd/systemd-udevd /bin/udevadm /usr/bin/setpriv $libraries; do
    mkdir -p "$tree$(dirname "$file")"
    cp -L "$file" "$tree$file"
  done
  strip --strip-debug -o "$tree/opt/dtu/dtu-config" "$tool"  # the guest loads it faster without
  for module in $modules; do
    cp "$module" "$tree/modules/"
    basename "$module" >>"$tree/modules/order"
  done
  # root and "member" are in dialout, "outsider" is not.
  printf 'root:x:0:0::/:/bin/sh\nmember:x:1000:1000::/tmp:/bin/sh\noutsider:x:1001:1001::/tmp:/bin/sh\n' \
    >"$tree/etc/passwd"
  printf 'root:x:0:\ndialout:x:20:member\ntty:x:5:\nmember:x:1000:\noutsider:x:1001:\n' >"$tree/etc/group"
  (cd "$tree" && find . | cpio -o -H newc --quiet) >"$initramfs.part"
  mv "$initramfs.part" "$initramfs"
  rm -rf "$tree"
fi

# --- Two simulated DTUs on host pseudo-terminals, and the guest wired to them ---------------------------------
rm -rf "$work"/run.*  # the logs an earlier failure kept
run=$(mktemp -d "$work/run.XXXXXX")
line_log=$run/line.log  # both DTUs' dialogue and QEMU's trace, in the order it happened
pids=()
qemu_pid=
cleanup() {  # cleanup STATUS
  set +e  # whatever has already ended, the rest is still stopped
  kill $qemu_pid "${pids[@]}" 2>/dev/null
  wait 2>/dev/null
  if [ "$1" -eq 0 ] || [ "$1" -eq 77 ]; then rm -rf "$run"; else echo "Logs kept in $run"; fi
  exit "$1"
}
trap 'cleanup $?' EXIT
trap 'exit 143' INT TERM HUP PIPE

start_sim() {  # start_sim NAME OPTION...: a dtu-sim whose pseudo-terminal path lands in $run/NAME
  "$sim" "${@:2}" >"$run/$1" 2>>"$line_log" &
  pids+=($!)
  for _ in $(seq 50); do [ -s "$run/$1" ] && return; sleep 0.1; done
  echo "dtu-sim did not start"; exit 1
}
start_sim uart.pty
# The adapter's DTU answers slowly, so that an unplug lands in the middle of a write-all.
start_sim usb.pty --line 9600,8N1 --delay 150

console=$run/console.log
accel=${QEMU_ACCEL:-tcg}
boot() {
  rm -f "$run"/{con,mon}.{in,out}
  mkfifo "$run"/{con,mon}.{in,out}
  : >"$console"
  cat "$run/con.out" >>"$console" &
  pids+=($!)
  cat "$run/mon.out" >/dev/null &
  pids+=($!)
  qemu-system-x86_64 -machine "accel=$accel" -m 512 -nodefaults -display none -no-reboot \
    -kernel "$vmlinuz" -initrd "$initramfs" -append "console=ttyS0,115200 quiet panic=-1" \
    -chardev pipe,id=con,path="$run/con" -serial chardev:con \
    -chardev serial,id=uart,path="$(cat "$run/uart.pty")" -serial chardev:uart \
    -device qemu-xhci -chardev serial,id=usb,path="$(cat "$run/usb.pty")" \
    -device usb-serial,id=adapter,chardev=usb,serial=$adapter_serial \
    -monitor pipe:"$run/mon" \
    -trace serial_update_parameters -trace usb_serial_set_baud -trace usb_serial_set_data 2>>"$line_log" &
  qemu_pid=$!
  exec 7<>"$run/con.in" 8<>"$run/mon.in"
}
on_console() { tr -d '\r' <"$console" | grep -q "$1"; }
wait_console() {  # wait_console PATTERN SECONDS
  local deadline=$((SECONDS + $2))
  until on_console "$1"; do
    kill -0 "$qemu_pid" 2>/dev/null || return 1
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.05
  done
}

boot_seconds=${QEMU_BOOT_SECONDS:-60}
started=$SECONDS
boot
if ! wait_console '^@@ ready' "$boot_seconds"; then
  if ! kill -0 "$qemu_pid" 2>/dev/null && [ ! -s "$console" ]; then
    skip "qemu-system-x86_64 does not start: $(grep qemu "$line_log" | tail -n 1)"
  fi
  echo "The guest did not come up in $boot_seconds s; booting it once more"
  kill "$qemu_pid"
  wait "$qemu_pid" 2>/dev/null || true
  boot
  wait_console '^@@ ready' $((2 * boot_seconds)) || { echo "FAILED: the guest did not come up"; exit 1; }
fi
echo "The guest is up after $((SECONDS - started)) s"

# --- Running commands in the guest -------------------------------------------------------------------------
steps=0
start() {  # start COMMAND: starts COMMAND (one line) in the guest as the next step; $step names it
  step=$((++steps))
  echo "== $step" >>"$line_log"
  printf '%s %s\n' "$step" "$1" >&7
}
finish() {  # sets $out to the output of the step started last and $status to its exit status
  wait_console "^@@ end $step " 120 || { echo "FAILED: the guest stopped answering"; exit 1; }
  out=$(tr -d '\r' <"$console" | sed -n "/^@@ begin $step\$/,/^@@ end $step /p")
  status=$(sed -n '$s/^@@ end [0-9]* //p' <<<"$out")
}
guest() { start "$1"; finish; }
put() {  # put GUEST_PATH TEXT: writes TEXT and a line end to a file in the guest
  guest "printf '$(awk '{ printf "%s\\n", $0 }' <<<"$2")' >$1"
}
check() {  # check WHAT COMMAND...: a failure when COMMAND fails
  if "${@:2}"; then echo "ok: $1"; else fail "$1"; echo "$out" | sed 's/^/    /'; fi
}
has() { grep -qF -- "$1" <<<"$out"; }
status_is() { [ "$status" = "$1" ]; }

# The commands of the last step as the DTU received them (escaped as dtu-sim logs them), each with the line
# settings the driver of PORT (uart or usb) had last programmed when the command's first byte went out.
dialogue() {
  awk -v step="== $step" -v port="$1" '
    function standard(rate,   i, r) {  # the FTDI divisor makes 115200 into 115384
      split("300 600 1200 2400 4800 9600 14400 19200 38400 57600 115200", r, " ")
      for (i in r) if ((rate - r[i]) ^ 2 * 10000 < r[i] ^ 2) return r[i]
      return rate
    }
    /^serial_update_parameters / {
      gsub(/[a-z]+=/, "")
      uart = standard($2) " " $4 substr($3, 2, 1) $5
    }
    /^usb_serial_set_baud / { usb_rate = standard($NF) }
    /^usb_serial_set_data / { gsub(/,/, ""); usb_format = $8 $5 $11 }
    $0 == step { on = 1; next }
    /^== / { on = 0 }
    on && /^tool> / {
      if (command == "") at = port == "uart" ? uart : usb_rate " " usb_format
      command = command substr($0, 7)
      if (command ~ /\\n$/) { print command " @ " at; command = "" }
    }' "$line_log"
}
dialogue_is() { diff <(printf '%s\n' "${@:2}") <(dialogue "$1") >&2; }

# --- The checks --------------------------------------------------------------------------------------------
dtu_section() {  # dtu_section LINE: a [DTU] section to write, LINE giving the DTU's new line settings
  printf '[DTU]\nAPN Index=0\nAPN Str=CMNET\nIP=dtu.example.com\nPort=2317\nProtocol=0\n%s\nDevID=LOGIN:7\n' "$1"
  printf 'HeartbeatFormat=LOG\nHeartbeatTime=50\nWaitTime=10\nWaitLength=200\nRestartTime=1800\n'
  printf 'CIPMUX=AT+CIPMUX=0\nCIPMODE=AT+CIPMODE=1\n'
}
line() { printf 'BaudRate=%s\nParity=%s\nByte=%s\nStop=%s' "$@"; }  # list indexes: rate, parity, data, stop
reads=('AT+CIPR?\r\n' 'AT+ICF?\r\n' 'AT+CIPSCONT?\r\n')
writes=('AT+CSTT="CMNET"\r\n' 'AT+CIPCFG=1,50,0,10,200,1800\r\n' 'AT+CIPPACK=0,"4C4F47"\r\n')
writes_end=('AT+CIPMUX=0\r\n' 'AT+CIPMODE=1\r\n' 'AT+CIPSCONT=0,"TCP","dtu.example.com", 2317,2\r\n')
at() { local command; for command in "${@:2}"; do echo "$command @ $1"; done; }

# The UART: a read at the default 115200 8N1, then a write-all that moves the DTU to 57600 7E2.
guest "dtu-config read --port /dev/ttyS1 --lang en"
check "read on /dev/ttyS1 succeeds" status_is 0
check "read on /dev/ttyS1: commands and line settings" dialogue_is uart "$(at '115200 8N1' "${reads[@]}")"
put /tmp/uart.ini "$(dtu_section "$(line 9 2 0 1)")"
guest "dtu-config write --port /dev/ttyS1 --ini /tmp/uart.ini --lang en"
check "write-all on /dev/ttyS1 succeeds" status_is 0
check "write-all on /dev/ttyS1: commands and line settings, switching before steps 9 and 10" dialogue_is uart \
  "$(at '115200 8N1' "${writes[@]}" 'AT+CIPPACK=1,"4C4F47494E3A37"\r\n' "${writes_end[@]}" 'AT+ICF=4,1\r\n')" \
  "$(at '115200 7E2' 'AT+CIPR=57600\r\n')" "$(at '57600 7E2' 'ATW\r\n')"

# The USB adapter by its by-id name: the search finds its DTU at 9600 8N1; a read there; a write-all that
# moves it to 115200 8O1 and gives it the adapter's serial number from sysfs.
guest "ls $by_id && dtu-config scan --port $by_id"
check "scan finds the adapter's DTU at 9600 8N1" has "$by_id: 9600 8N1"
put /tmp/usb.ini "$(printf '[Com]\n%s\n' "$(line 5 0 1 0)"; dtu_section "$(line 10 1 1 0)")"
guest "dtu-config read --port $by_id --ini /tmp/usb.ini --lang en"
check "read by the by-id name succeeds" status_is 0
check "read by the by-id name: commands and line settings" dialogue_is usb "$(at '9600 8N1' "${reads[@]}")"
serial_hex=$(printf 'ID-%s' "$adapter_serial" | od -An -tx1 | tr -d ' \n' | tr a-f A-F)
guest "dtu-config write --port $by_id --ini /tmp/usb.ini --set DevID=ID-{serial} --lang en"
check "write-all by the by-id name succeeds" status_is 0
check "write-all by the by-id name: {serial} from sysfs, commands and line settings" dialogue_is usb \
  "$(at '9600 8N1' "${writes[@]}" "AT+CIPPACK=1,\"$serial_hex\"\\r\\n" "${writes_end[@]}" 'AT+ICF=3,0\r\n')" \
  "$(at '9600 8O1' 'AT+CIPR=115200\r\n')" "$(at '115200 8O1' 'ATW\r\n')"

# Who may open a port: not a second program while one has it, not a user outside dialout.
# The first opener asks at 300 baud, where the DTU does not answer, so it holds the port for 8 s.
guest "dtu-config read --port /dev/ttyS1 --baud 300 >/dev/null 2>&1 & echo \$! >/tmp/first"
holds='ls -l /proc/$(cat /tmp/first)/fd | grep -q ttyS1'
second='dtu-config read --port /dev/ttyS1 --lang en; echo status $?'
guest "for i in \$(seq 50); do $holds && break; sleep 0.1; done; $second; kill \$(cat /tmp/first)"
check "a second opener is refused" has "/dev/ttyS1: in use by another program"
check "the second opener fails" has "status 1"
guest "/usr/bin/setpriv --reuid=outsider --regid=outsider --clear-groups dtu-config read --port /dev/ttyS1 --lang en"
check "a user outside dialout is told so" has "/dev/ttyS1: permission denied. Add the user to the dialout group"
check "the user outside dialout fails" status_is 1

# The adapter pulled out during a write-all and during a line search: the tool must report the port lost and
# be done within 1.5 s of the unplug; plugged back in, the same by-id name must reach the DTU again.
now_ms() { echo $(($(date +%s%N) / 1000000)); }
received() { dialogue usb | wc -l; }
unplug_during() {  # unplug_during WHAT COMMAND: unplugs the adapter once the DTU has had COMMAND's first commands
  start "$2"
  local deadline=$((SECONDS + 30)) unplugged
  until [ "$(received)" -ge "$3" ] || [ $SECONDS -ge $deadline ]; do sleep 0.02; done
  unplugged=$(now_ms)
  echo "device_del adapter" >&8
  finish
  local took=$(($(now_ms) - unplugged))
  check "$1: the port is reported lost" has "the port was lost (the device was unplugged or hung up)"
  check "$1: the tool fails" status_is 1
  check "$1: the tool is done within 1.5 s of the unplug (took $took ms)" [ "$took" -le 1500 ]
  guest "for i in \$(seq 100); do [ -e $by_id ] || exit 0; sleep 0.1; done; exit 1"
  check "$1: the by-id link goes with the adapter" status_is 0
  echo "device_add usb-serial,id=adapter,chardev=usb,serial=$adapter_serial" >&8
  guest "for i in \$(seq 100); do [ -e $by_id ] && exit 0; sleep 0.1; done; exit 1"
  check "$1: plugged back, the by-id link is there again" status_is 0
  guest "dtu-config read --port $by_id --ini /tmp/usb-now.ini --lang en"
  check "$1: plugged back, a read by the by-id name succeeds" status_is 0
}
put /tmp/usb-now.ini "$(printf '[Com]\n%s\n' "$(line 10 1 1 0)"; dtu_section "$(line 10 1 1 0)")"
unplug_during "unplugged during a write-all" "dtu-config write --port $by_id --ini /tmp/usb-now.ini --lang en" 3
# The search starts at 115200 8N1, where this DTU (now at 115200 8O1) does not answer.
unplug_during "unplugged during a line search" "dtu-config scan --port $by_id --lang en" 1

echo "$((SECONDS - started)) s from boot to the last check"
if [ "$failures" -ne 0 ]; then echo "$failures checks failed"; exit 1; fi
echo "All checks passed"
