#!/usr/bin/env bash
# A private world for running the Windows builds: a CUPS daemon of our own (own config, socket and spool), an Xvfb
# display, and a Wine prefix. Nothing of the machine's own printing or display is touched.
#
#   tools/testenv.sh NAME [--no-default|--no-printer|--snmp|--ipp|--queue QUEUE|--user-locale LOCALE] -- COMMAND [ARGS...]
#                                                                start, run COMMAND inside, stop; exit with its code
#                                                                (a COMMAND that only lists GoogleTest cases runs
#                                                                as it is, in the caller's world)
#   source tools/testenv.sh NAME [--no-default]                  start, export the variables; call testenv_stop later
#
# Exports: AMBERVALE_ENV_DIR, CUPS_SERVER (the socket), DISPLAY, WINEPREFIX, WINEDEBUG=-all, WINEDLLOVERRIDES,
# AMBERVALE_TEST_QUEUE (the CUPS default queue, which Wine presents as the default printer, port "CUPS:<queue>").
# The queue is named by --queue or AMBERVALE_TEST_QUEUE when given (CUPS allows up to 127 characters), else
# Ambervale_Test.
# The Wine prefix is kept under /tmp/ambervale-env-NAME[-TAG] between runs, since a new one takes about 10 seconds to
# make; TAG is AMBERVALE_ENV_TAG when set (tools/test.sh sets it from the checkout's folder). Worlds of checkouts
# that no longer exist are removed when the next world starts.
# With --no-default the queue exists but CUPS has no default (Wine then takes the first queue as the default);
# with --no-printer there is no queue at all, so Windows has no default printer.
# With --user-locale (el_GR, say) Wine's user locale is that one while its system locale, and so the ANSI code page,
# stay English (United States) and 1252: Wine takes the user locale from LC_MESSAGES and the system locale from
# LC_CTYPE, and the locale is made for the world alone (localedef into its folder, found through LOCPATH).
# With --snmp an SNMP agent (snmpsim) serves the printers of tests/e2e/snmp on UDP port 161 of a loopback address of
# the world's own, exported as AMBERVALE_SNMP_AGENT; each data file's name is the community that asks for it; and a
# lossy agent of the tests' own listens on another, AMBERVALE_SNMP_LOSSY_AGENT (tests/e2e/snmp/lossy-agent.py). A
# COMMAND then runs in a mount namespace of its own whose /etc/hosts (the machine's, bind-mounted over by a copy)
# also names AMBERVALE_SNMP_DUAL_HOST: ::1 first, where no agent listens, then the agent's address.
# With --ipp an IPP Everywhere printer (ippeveprinter, with a D-Bus and an Avahi of its own, none of the machine's)
# listens on port 631 of 127.0.0.1 and ::1, the port an IPP Everywhere address names, exported as
# AMBERVALE_IPP_PRINTER=127.0.0.1:631; the world refuses to start when something else holds that port. A test stops,
# continues or ends it by writing STOP, CONT or TERM to $AMBERVALE_ENV_DIR/ipp/signal, which goes once it is sent.

# A world takes about 1.3 GB (most of it the Wine prefix) and stays when its run ends; one whose checkout has since
# been deleted (a fresh clone for a CI rehearsal, a worktree) will never be used again, and goes.
testenv_prune() {
  local mark checkout
  for mark in /tmp/ambervale-env-*/checkout; do
    [ -f "$mark" ] || continue
    checkout=$(cat "$mark")
    [ -n "$checkout" ] && [ ! -d "$checkout" ] && rm -rf "$(dirname "$mark")"
  done
  return 0
}

testenv_start() {
  local name=${1:-default} no_default=0 no_printer=0 snmp=0 ipp=0 user_locale=""
  [ "${2:-}" = "--no-default" ] && no_default=1
  [ "${2:-}" = "--no-printer" ] && no_printer=1
  [ "${2:-}" = "--snmp" ] && snmp=1
  [ "${2:-}" = "--ipp" ] && ipp=1
  [ "${2:-}" = "--user-locale" ] && user_locale=${3:?--user-locale needs a locale such as el_GR}
  # AMBERVALE_ENV_TAG keeps the worlds of several checkouts apart when they run their tests at the same time.
  local dir=/tmp/ambervale-env-$name${AMBERVALE_ENV_TAG:+-$AMBERVALE_ENV_TAG}
  export AMBERVALE_ENV_DIR=$dir
  export AMBERVALE_TEST_QUEUE=${AMBERVALE_TEST_QUEUE:-Ambervale_Test}
  testenv_prune
  # A world of this name left running (a shell that sourced it and never stopped it) is stopped first: its desktop
  # would keep its Wine server alive, and the start below would wait for that server for ever.
  ( AMBERVALE_ENV_DIR=$dir testenv_stop )
  mkdir -p "$dir"/cups/{etc/ppd,spool/tmp,cache,state/certs,log}
  (cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd) > "$dir/checkout"
  local cups=$dir/cups
  export CUPS_SERVER=$cups/cups.sock

  cat > "$cups/etc/cupsd.conf" <<CONF
Listen $CUPS_SERVER
LogLevel warn
Browsing No
WebInterface No
DefaultShared No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  cat > "$cups/etc/cups-files.conf" <<CONF
ServerRoot $cups/etc
RequestRoot $cups/spool
TempDir $cups/spool/tmp
CacheDir $cups/cache
StateDir $cups/state
AccessLog $cups/log/access_log
ErrorLog $cups/log/error_log
PageLog $cups/log/page_log
User lp
Group lp
SystemGroup root
FileDevice Yes
CONF
  rm -f "$cups/etc/printers.conf" "$CUPS_SERVER"
  chmod 755 "$dir" "$cups" "$cups/etc" "$cups/spool"
  chown -R lp:lp "$cups/spool" "$cups/cache" 2>/dev/null || true
  /usr/sbin/cupsd -f -c "$cups/etc/cupsd.conf" -s "$cups/etc/cups-files.conf" &
  echo $! > "$dir/cupsd.pid"
  local i
  for i in $(seq 1 100); do [ -S "$CUPS_SERVER" ] && lpstat -r >/dev/null 2>&1 && break; sleep 0.1; done
  if [ $no_printer -eq 0 ]; then
    lpadmin -p "$AMBERVALE_TEST_QUEUE" -E -v file:///dev/null -m raw 2>/dev/null
    [ $no_default -eq 1 ] || lpadmin -d "$AMBERVALE_TEST_QUEUE"
  fi

  [ $snmp -eq 0 ] || testenv_start_snmp_agent "$dir"
  [ $ipp -eq 0 ] || testenv_start_ipp_printer "$dir" || return 1

  local own_display=0
  if [ -z "${AMBERVALE_KEEP_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
    own_display=1
    exec 5> "$dir/display"
    Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 &
    echo $! > "$dir/xvfb.pid"
    for i in $(seq 1 100); do [ -s "$dir/display" ] && break; sleep 0.1; done
    exec 5>&-
    export DISPLAY=:$(head -n1 "$dir/display")
  fi

  if [ -n "$user_locale" ]; then
    # After the daemons: they keep the machine's own locales.
    mkdir -p "$dir/locales"
    [ -d "$dir/locales/$user_locale.UTF-8" ] || localedef -i "$user_locale" -f UTF-8 "$dir/locales/$user_locale.UTF-8"
    unset LC_ALL
    export LOCPATH=$dir/locales LC_MESSAGES=$user_locale.UTF-8
  fi

  export WINEPREFIX=$dir/wine WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  if [ ! -f "$WINEPREFIX/.ambervale-ready" ]; then
    wineboot -i >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.ambervale-ready"
  fi
  # On our own display Wine runs as one virtual Windows desktop, with its own taskbar and notification area: a
  # bare X server has neither, and without them Wine waits two seconds for every tray icon it removes.
  if [ $own_display -eq 1 ]; then
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\n"Desktop"="Default"\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n"Default"="1280x1024"\n' > "$dir/desktop.reg"
  else
    printf 'REGEDIT4\n\n[-HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\n' > "$dir/desktop.reg"
  fi
  wine regedit /s "$(winepath -w "$dir/desktop.reg")" >/dev/null 2>&1 || true
  # Wine reads the CUPS queues when the spooler starts in a new wineserver, so the server is started after CUPS.
  wineserver -w
  wineserver -p 60 >/dev/null 2>&1 || true
  # Start Wine's own services now, detached from our output: started by the first test instead, they would
  # inherit its output pipe and keep the test runner waiting for an end of output that never comes.
  wine wineboot </dev/null >/dev/null 2>&1 || true
}

# 127.x.y.z from the world's folder: worlds of other checkouts, running at the same time, get addresses of their own.
testenv_start_snmp_agent() {
  local dir=$1 hash
  hash=$(printf '%s' "$dir" | md5sum)
  export AMBERVALE_SNMP_AGENT=127.$((0x${hash:0:2} % 254 + 1)).$((0x${hash:2:2})).$((0x${hash:4:2} % 253 + 1))
  local data=$dir/snmp/data cache=$dir/snmp/cache
  rm -rf "$dir/snmp"
  mkdir -p "$data" "$cache"
  cp "$(dirname "${BASH_SOURCE[0]}")"/../tests/e2e/snmp/*.snmprec "$data/"
  chmod -R a+rX "$dir/snmp"
  chown -R nobody "$cache"
  # It binds port 161 as root, then runs as nobody.
  snmpsimd --data-dir="$data" --cache-dir="$cache" --agent-udpv4-endpoint="$AMBERVALE_SNMP_AGENT:161" \
    --process-user=nobody --process-group=nogroup --logging-method=file:"$dir/snmp/agent.log" \
    </dev/null >"$dir/snmp/out.log" 2>&1 &
  echo $! > "$dir/snmpsimd.pid"
  local i
  for i in $(seq 1 100); do grep -q "Listening at UDP" "$dir/snmp/agent.log" 2>/dev/null && break; sleep 0.1; done
  # Beside it, on an address of its own, an agent of the tests' own that drops the first request of each question and
  # answers the others with noSuchName (tests/e2e/snmp/lossy-agent.py).
  local second third fourth
  IFS=. read -r _ second third fourth <<< "$AMBERVALE_SNMP_AGENT"
  export AMBERVALE_SNMP_LOSSY_AGENT=127.$second.$((third ^ 128)).$fourth
  /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")"/../tests/e2e/snmp/lossy-agent.py "$AMBERVALE_SNMP_LOSSY_AGENT" \
    </dev/null >"$dir/snmp/lossy-agent.log" 2>&1 &
  echo $! > "$dir/lossy-agent.pid"
  export AMBERVALE_SNMP_DUAL_HOST=ambervale-snmp-dual
  { cat /etc/hosts; printf '::1 %s\n%s %s\n' "$AMBERVALE_SNMP_DUAL_HOST" "$AMBERVALE_SNMP_AGENT" "$AMBERVALE_SNMP_DUAL_HOST"; } \
    > "$dir/snmp/hosts"
}

testenv_start_ipp_printer() {
  local dir=$1 ipp=$1/ipp i
  if ss -ltn 'sport = :631' | grep -q LISTEN; then
    echo "testenv: port 631 is taken; the world's IPP printer cannot start" >&2
    return 1
  fi
  rm -rf "$ipp"
  mkdir -p "$ipp/spool"
  cat > "$ipp/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$ipp/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/><allow own="*"/><allow send_destination="*"/><allow receive_type="*"/>
  </policy>
</busconfig>
CONF
  printf '[server]\nallow-interfaces=lo\nuse-ipv6=no\n[publish]\npublish-addresses=no\npublish-workstation=no\n' \
    > "$ipp/avahi.conf"
  dbus-daemon --config-file="$ipp/bus.conf" --fork --print-pid > "$dir/ipp-dbus.pid"
  # Avahi keeps its pid file in /run/avahi-daemon: a /run of its own, in a mount namespace of its own, leaves the
  # machine's alone.
  DBUS_SYSTEM_BUS_ADDRESS=unix:path=$ipp/bus unshare -m sh -c "mount -t tmpfs tmpfs /run && \
    mkdir /run/avahi-daemon && exec avahi-daemon --no-drop-root --no-chroot --no-rlimits -f $ipp/avahi.conf" \
    </dev/null >"$ipp/avahi.log" 2>&1 &
  echo $! > "$dir/ipp-avahi.pid"
  for i in $(seq 1 50); do grep -q "Server startup complete" "$ipp/avahi.log" 2>/dev/null && break; sleep 0.1; done
  DBUS_SYSTEM_BUS_ADDRESS=unix:path=$ipp/bus ippeveprinter -n localhost -p 631 -d "$ipp/spool" "Ambervale IPP Test" \
    </dev/null >"$ipp/printer.log" 2>&1 &
  echo $! > "$dir/ipp-printer.pid"
  for i in $(seq 1 100); do ss -ltn 'sport = :631' | grep -q LISTEN && break; sleep 0.1; done
  # The test's signals to the printer: a file it writes, read here.
  ( while [ -d "$ipp" ]; do
      if [ -f "$ipp/signal" ]; then kill -"$(cat "$ipp/signal")" "$(cat "$dir/ipp-printer.pid")"; rm -f "$ipp/signal"; fi
      sleep 0.05
    done ) </dev/null >/dev/null 2>&1 &
  echo $! > "$dir/ipp-signals.pid"
  export AMBERVALE_IPP_PRINTER=127.0.0.1:631
}

# The printer before its Avahi, Avahi before its D-Bus (Avahi spins when its bus goes first); a stopped printer is let
# go on first, so it can end.
testenv_stop_ipp_printer() {
  local dir=$1 f pid i
  [ -f "$dir/ipp-printer.pid" ] && kill -CONT "$(cat "$dir/ipp-printer.pid")" 2>/dev/null
  for f in ipp-signals ipp-printer ipp-avahi ipp-dbus; do
    [ -f "$dir/$f.pid" ] || continue
    pid=$(cat "$dir/$f.pid")
    kill "$pid" 2>/dev/null || true
    for i in $(seq 1 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null || true
    rm -f "$dir/$f.pid"
  done
}

testenv_stop() {
  local dir=${AMBERVALE_ENV_DIR:-}
  [ -n "$dir" ] || return 0
  WINEPREFIX=$dir/wine wineserver -k >/dev/null 2>&1 || true
  testenv_stop_ipp_printer "$dir"
  local f
  local pid i
  for f in cupsd xvfb snmpsimd lossy-agent; do
    if [ -f "$dir/$f.pid" ]; then
      pid=$(cat "$dir/$f.pid")
      # A pid file left from a run long gone may name another program by now.
      grep -qai "$f" "/proc/$pid/cmdline" 2>/dev/null && kill "$pid" 2>/dev/null || true
      # The next world of the same name may start at once (CTest lists a world's cases, then runs each in a world
      # of its own): it must not meet this one's daemon still holding the socket.
      for i in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      rm -f "$dir/$f.pid"
    fi
  done
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -u
  name=$1; shift
  extra=""
  case "${1:-}" in
    --no-default|--no-printer|--snmp|--ipp) extra=$1; shift ;;
    --queue) export AMBERVALE_TEST_QUEUE=$2; shift 2 ;;
    --user-locale) extra="$1 $2"; shift 2 ;;
  esac
  [ "${1:-}" = "--" ] && shift
  # Listing a test program's cases (CTest does so before it runs them) needs no world of its own: it runs in the
  # world of the test command, and saves starting and stopping one.
  case " $* " in *" --gtest_list_tests "*) "$@"; exit $? ;; esac
  testenv_start "$name" $extra
  trap testenv_stop EXIT
  if [ "$extra" = "--snmp" ]; then
    # Wine resolves names inside the program's own process, so the namespace's hosts file is the one it reads.
    unshare -m bash -c 'mount --bind "$0" /etc/hosts && exec "$@"' "$AMBERVALE_ENV_DIR/snmp/hosts" "$@"
  else
    "$@"
  fi
  exit $?
else
  testenv_start "$@"
fi
