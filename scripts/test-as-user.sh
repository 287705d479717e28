#!/usr/bin/env bash
# Runs the end-to-end tests (the program's link against the simulated OPU on a pseudo-terminal)
# again as a normal user. Root passes every permission check and the exclusive-port flag, so a
# fault that only a normal user meets would stay hidden from a suite run as root.
# Usage, as root: scripts/test-as-user.sh [build folder, default build/ci]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/ci}")
user=ukova-test

if [ "$(id -u)" -ne 0 ]; then
  echo "Not root: the suite has already run as a normal user."
  exit 0
fi
if ! id "$user" >/dev/null 2>&1; then
  useradd --system --no-create-home --shell /usr/sbin/nologin "$user" 2>/dev/null || user=nobody
fi

as_user() {
  env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/run" LANG=C.UTF-8 \
    QT_QPA_PLATFORM=offscreen \
    setpriv --reuid="$user" --regid="$(id -g "$user")" --init-groups -- "$@"
}

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/run"
chown -R "$user:$(id -g "$user")" "$home"

# The user has to reach the test programs and the sources they read: folders above them that
# are closed to others are opened for passing through, never for listing.
for place in "$build" "$PWD"; do
  folder=$place
  while [ "$folder" != / ]; do
    if [ "$(($(stat -c '%#a' "$folder") & 1))" -eq 0 ]; then
      echo "Opening $folder for others to pass through"
      chmod o+x "$folder"
    fi
    folder=$(dirname "$folder")
  done
done

status=0
run() {
  echo "== as $user: $*"
  as_user "$@" || status=1
}
run "$build/tests/test_opu" --gtest_filter='*/PseudoTerminal:SerialOpuDriverTest.*:ConnectionProbesTest.*'
run "$build/tests/test_link" --gtest_filter='TfrmConnectionCheck.*'
run "$build/tests/test_app" --gtest_filter='TransmitterOperationsTest.*:SafetyNetTest.*'
# Files the user may write but whose folder is closed, owners kept, traces refused.
run "$build/tests/test_files" --gtest_filter='ImageFilesTest.*:IniFileTest.*:SettingsStartupTest.*'
run "$build/tests/test_opu" --gtest_filter='WireTrace*'
# The command line runs the program itself, as a bench script of a normal user does.
run "$build/tests/test_cli" --gtest_filter='CliEndToEnd.*:CliOperations.*'
if [ $status -ne 0 ]; then
  echo "End-to-end tests FAILED for a normal user ($user)."
fi
exit $status
