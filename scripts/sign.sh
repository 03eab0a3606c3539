#!/usr/bin/env bash
# Signs Windows programs in place (Authenticode, SHA-256, with osslsigncode) when the environment
# gives a certificate: FQ_SIGN_CERT and FQ_SIGN_KEY (PEM files; FQ_SIGN_PASSWORD for an encrypted
# key), or FQ_SIGN_PKCS12 and FQ_SIGN_PASSWORD. FQ_SIGN_TIMESTAMP_URL, where set, names an
# RFC 3161 timestamp server. Without a certificate it leaves the files alone.
# Usage: scripts/sign.sh [FILE...]   (without files: says in one line whether it signs)
set -euo pipefail

if [[ -n ${FQ_SIGN_PKCS12:-} ]]; then
  certificate=(-pkcs12 "$FQ_SIGN_PKCS12")
  what=$FQ_SIGN_PKCS12
elif [[ -n ${FQ_SIGN_CERT:-} || -n ${FQ_SIGN_KEY:-} ]]; then
  [[ -n ${FQ_SIGN_CERT:-} && -n ${FQ_SIGN_KEY:-} ]] ||
    { echo "FQ_SIGN_CERT and FQ_SIGN_KEY go together" >&2; exit 1; }
  certificate=(-certs "$FQ_SIGN_CERT" -key "$FQ_SIGN_KEY")
  what=$FQ_SIGN_CERT
else
  (($#)) || echo "No certificate given (FQ_SIGN_CERT and FQ_SIGN_KEY, or FQ_SIGN_PKCS12):" \
    "the Windows programs and the installer are not signed."
  exit 0
fi
(($#)) || { echo "Signing the Windows programs and the installer with $what."; exit 0; }

options=(sign "${certificate[@]}" -h sha256 -n "Flying Quorlin Screen Saver")
[[ -n ${FQ_SIGN_TIMESTAMP_URL:-} ]] && options+=(-ts "$FQ_SIGN_TIMESTAMP_URL")
for file in "$@"; do
  # The password through a pipe rather than the command line, which other users can read.
  osslsigncode "${options[@]}" ${FQ_SIGN_PASSWORD+-readpass /dev/stdin} -in "$file" \
    -out "$file.signed" <<<"${FQ_SIGN_PASSWORD:-}" >/dev/null
  mv "$file.signed" "$file"
done
