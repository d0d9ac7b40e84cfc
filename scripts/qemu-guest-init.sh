#!/bin/busybox sh
# /init of the guest that scripts/qemu-serial-test.sh boots: it loads the USB serial drivers, starts udevd
# (for /dev/serial/by-id and the dialout group), then runs the commands the host writes on the console, one a
# line as "ID COMMAND", framing each one's output between "@@ begin ID" and "@@ end ID STATUS".
/bin/busybox --install -s /bin
export PATH=/bin:/usr/bin:/sbin:/usr/sbin:/opt/dtu
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
mkdir -p /dev/pts /run /tmp
mount -t devpts devpts /dev/pts
exec </dev/ttyS0 >/dev/ttyS0 2>&1

# modules/order lists the modules with their dependencies first, as modprobe --show-depends gave them.
while read -r module; do insmod "/modules/$module" || echo "@@ failed: insmod $module"; done </modules/order
/lib/systemd/systemd-udevd --daemon
udevadm trigger --action=add
udevadm settle --timeout=20

# The console takes what the host types without echoing it back into the output.
stty -echo
echo "@@ ready"
while read -r id command; do
  echo "@@ begin $id"
  sh -c "$command" </dev/null 2>&1
  echo "@@ end $id $?"
done
poweroff -f
