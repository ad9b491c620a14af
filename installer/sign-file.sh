#!/usr/bin/env bash
# Signs one file of the packages (an exe, a DLL or an MSI) with Authenticode, using osslsigncode:
#   sign-file.sh INPUT OUTPUT PFX [TIMESTAMP_URL]
# The PFX's password comes from the environment variable AMBERVALE_SIGN_PASSWORD (empty for a PFX without one),
# handed to osslsigncode through a pipe so that it never shows in a process list. With a time-stamping server the
# signature stays valid after the certificate expires.
set -euo pipefail
input=$1 output=$2 pfx=$3 timestamp=${4:-}
if [ -z "${AMBERVALE_SIGN_PASSWORD+set}" ]; then
  echo "sign-file.sh: AMBERVALE_SIGN_PASSWORD is not set (the password of $pfx; empty for none)" >&2
  exit 1
fi
args=(-h sha256 -n Ambervale)
[ -z "$timestamp" ] || args+=(-ts "$timestamp")
# An MSI's signature covers the dates and attributes of its streams too (the MsiDigitalSignatureEx stream).
case "$input" in *.msi) args+=(-add-msi-dse) ;; esac
# Written beside the output and renamed, so that a failed signing leaves no half-made file for the next step.
partial="$output.partial"
rm -f "$partial"
if ! osslsigncode sign -pkcs12 "$pfx" -readpass <(printf '%s' "$AMBERVALE_SIGN_PASSWORD") "${args[@]}" \
    -in "$input" -out "$partial" >"$partial.log" 2>&1; then
  cat "$partial.log" >&2
  rm -f "$partial" "$partial.log"
  exit 1
fi
rm -f "$partial.log"
mv -f "$partial" "$output"
