#!/usr/bin/env bash
# The Windows build's mail check under wine64 against a private Dovecot: plain POP3 must
# find the three test messages; POP3S with a certificate from a test CA that the trust
# store does not hold must abort as "certificate not trusted" (exit code 1); with the CA
# added to the user's root store, POP3S and STLS find the three messages.
# Usage: tools/wine-mail.sh [build folder]
set -euo pipefail
build=${1:-build/win-x86_64}
scr="$build/lumivane.scr"
[ -f "$scr" ] || { echo "wine-mail: $scr not built" >&2; exit 1; }
[ -x /usr/sbin/dovecot ] || { echo "wine-mail: dovecot not installed, skipped"; exit 0; }
[ "$(id -u)" = 0 ] || { echo "wine-mail: needs root (the mail processes run as nobody), skipped"; exit 0; }
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

d=$(mktemp -d); chmod 755 "$d"
free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
p1=$(free_port); p2=$(free_port)
cleanup() {
  [ -f "$d/run/master.pid" ] && kill "$(cat "$d/run/master.pid")" 2>/dev/null
  # The test CA leaves the prefix's root store whatever happened.
  [ -f "$d/ca.reg.name" ] && "$wine" reg delete \
    "HKCU\\Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\$(cat "$d/ca.reg.name")" /f >/dev/null 2>&1
  rm -rf "$d"
}
trap cleanup EXIT

mkdir -p "$d/run" "$d/state" "$d/mail/skywatcher/Maildir/"{new,cur,tmp} "$d/saver"
for i in 1 2 3; do printf 'Subject: note %s\r\n\r\nHello.\r\n' $i > "$d/mail/skywatcher/Maildir/new/17000000$i.M$i.wine"; done
chown -R nobody:nogroup "$d/mail"
q() { "$@" >/dev/null 2>&1; }
q openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Lumivane Test CA" -keyout "$d/ca.key" -out "$d/ca.pem" \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign
q openssl req -newkey rsa:2048 -nodes -subj "/CN=localhost" -keyout "$d/key.pem" -out "$d/req.pem"
printf 'subjectAltName=DNS:localhost,IP:127.0.0.1\n' > "$d/ext.cnf"
q openssl x509 -req -in "$d/req.pem" -CA "$d/ca.pem" -CAkey "$d/ca.key" -CAcreateserial -days 2 -extfile "$d/ext.cnf" -out "$d/cert.pem"
echo "skywatcher:{PLAIN}moon-pass-7::::::" > "$d/users"
cat > "$d/dovecot.conf" <<CONF
base_dir = $d/run
state_dir = $d/state
log_path = $d/dovecot.log
protocols = pop3
listen = 127.0.0.1
ssl = yes
ssl_cert = <$d/cert.pem
ssl_key = <$d/key.pem
disable_plaintext_auth = no
auth_mechanisms = plain
passdb {
  driver = passwd-file
  args = scheme=PLAIN username_format=%u $d/users
}
userdb {
  driver = static
  args = uid=nobody gid=nogroup home=$d/mail/%u
}
mail_location = maildir:~/Maildir
service pop3-login {
  inet_listener pop3 {
    port = $p1
  }
  inet_listener pop3s {
    port = $p2
    ssl = yes
  }
  chroot =
}
service anvil {
  chroot =
}
CONF
/usr/sbin/dovecot -c "$d/dovecot.conf"
sleep 1

# The saver keeps its settings beside itself when that folder is writable.
cp "$scr" "$d/saver/"
# The stored password is scrambled: each byte xor 0x1C, then less 2 (or escaped).
scrambled=$(python3 -c '
import sys
out = bytearray()
for b in b"moon-pass-7":
    a = b ^ 0x1C
    out += bytes([a - 2]) if a == 0 or a > 35 else bytes([0xFF, a + 32])
sys.stdout.write(out.decode("latin-1"))')
account() {  # server security port
  printf '[Email]\r\nLoginName=skywatcher\r\nPassword=%s\r\nPopServer=%s\r\nSecurity=%s\r\nPort=%s\r\n' \
    "$scrambled" "$1" "$2" "$3" > "$d/saver/LumivanPrivateSettings.ini"
}
fail() { echo "wine-mail: $*" >&2; exit 1; }

account 127.0.0.1 0 "$p1"
out=$(timeout 60 "$wine" "$d/saver/lumivane.scr" --check-mail 2>&1 | tr -d '\r') || fail "plain check failed: $out"
echo "$out"
[ "$(echo "$out" | tail -n1)" = "3" ] || fail "plain check printed '$out'"

account localhost 2 "$p2"
code=0; out=$(timeout 60 "$wine" "$d/saver/lumivane.scr" --check-mail 2>&1 | tr -d '\r') || code=$?
echo "$out"
[ "$code" = 1 ] || fail "POP3S with an untrusted CA gave exit code $code"
case "$out" in *"certificate not trusted"*) ;; *) fail "POP3S did not report the certificate";; esac

# Trusted once the test CA is in the user's root store (a registry key named after the
# certificate's SHA-1 hash, holding the DER form as a serialized certificate property).
openssl x509 -in "$d/ca.pem" -outform DER -out "$d/ca.der"
python3 - "$d/ca.der" "$d/ca.reg" <<'PY'
import hashlib, struct, sys
der = open(sys.argv[1], "rb").read()
blob = struct.pack("<III", 0x20, 1, len(der)) + der
name = hashlib.sha1(der).hexdigest().upper()
hexed = ",".join("%02x" % b for b in blob)
open(sys.argv[2] + ".name", "w").write(name)
open(sys.argv[2], "w").write("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\%s]\n\"Blob\"=hex:%s\n" % (name, hexed))
PY
"$wine" regedit /S "$d/ca.reg" >/dev/null 2>&1
out=$(timeout 60 "$wine" "$d/saver/lumivane.scr" --check-mail 2>&1 | tr -d '\r') || fail "POP3S with the trusted CA failed: $out"
echo "$out"
[ "$(echo "$out" | tail -n1)" = "3" ] || fail "POP3S with the trusted CA printed '$out'"
account localhost 1 "$p1"
out=$(timeout 60 "$wine" "$d/saver/lumivane.scr" --check-mail 2>&1 | tr -d '\r') || fail "STLS with the trusted CA failed: $out"
echo "$out"
[ "$(echo "$out" | tail -n1)" = "3" ] || fail "STLS with the trusted CA printed '$out'"
echo "wine-mail: passed"
