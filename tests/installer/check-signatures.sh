#!/usr/bin/env bash
# Checks the Authenticode signatures of the packages with osslsigncode, as a user's Windows would check them:
#   check-signatures.sh CERT.pem SIGNED.zip SIGNED.msi UNSIGNED.msi WORK_FOLDER
# Every file of the signed packages (the exe in the zip; the exe and the setup DLL inside the MSI; the MSI itself)
# must verify against CERT.pem alone, and no file of the package built without a certificate may carry a signature.
set -euo pipefail
cert=$(realpath "$1") zip=$(realpath "$2") signed_msi=$(realpath "$3") unsigned_msi=$(realpath "$4") work=$5
rm -rf "$work"
mkdir -p "$work/zip" "$work/signed" "$work/unsigned"

# The files a package carries: the exe from the MSI's cabinet, the setup DLL from its Binary table.
unpack_msi() {
  local msi=$1 folder=$2
  (cd "$folder" && msiextract "$msi" >/dev/null)
  mv "$folder/Program Files/Ambervale/Ambervale.exe" "$folder/Ambervale.exe"
  msiinfo extract "$msi" Binary.AmbervaleSetup >"$folder/AmbervaleSetup.dll"
  cp "$msi" "$folder/package.msi"
}
(cd "$work/zip" && cmake -E tar xf "$zip")
unpack_msi "$signed_msi" "$work/signed"
unpack_msi "$unsigned_msi" "$work/unsigned"

failures=0
check() {
  local expect=$1 file=$2 result=signed
  osslsigncode verify -CAfile "$cert" -in "$file" >"$file.verify" 2>&1 || result=unsigned
  if [ "$result" != "$expect" ]; then
    echo "FAIL: $file is $result, expected $expect:" >&2
    cat "$file.verify" >&2
    failures=$((failures + 1))
  else
    echo "ok: $file is $expect"
  fi
}
check signed "$work/zip/Ambervale.exe"
for file in Ambervale.exe AmbervaleSetup.dll package.msi; do
  check signed "$work/signed/$file"
  check unsigned "$work/unsigned/$file"
done
# The digests are SHA-256, and the MSI's signature covers its streams' metadata too.
for file in "$work"/signed/*.verify "$work"/zip/*.verify; do
  if ! grep -Eq "^Message digest algorithm +: SHA256" "$file"; then
    echo "FAIL: $file: no SHA-256 digest" >&2
    failures=$((failures + 1))
  fi
done
if grep -q "MsiDigitalSignatureEx stream doesn't exist" "$work/signed/package.msi.verify"; then
  echo "FAIL: the MSI's signature leaves out its streams' metadata" >&2
  failures=$((failures + 1))
fi
exit $failures
