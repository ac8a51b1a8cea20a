# common.sh -- shared by the whole-program tests: a scratch home and small checks.
set -eu

work=$(mktemp -d "${TMPDIR:-/tmp}/calvora-run-XXXXXX")
cleanup_actions=""
cleanup() {
  eval "$cleanup_actions"
  rm -rf "$work"
}
trap cleanup EXIT
on_exit() { cleanup_actions="$1; $cleanup_actions"; }

# A home with nothing in it, and a session folder of its own for the single-instance lock.
export HOME="$work/home"
export XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset XDG_DATA_HOME XDG_CONFIG_HOME
save="$HOME/.local/share/Hollow Fern/Calvora"

fail() { echo "FAIL: $*" >&2; exit 1; }
expect_line() { grep -qxF -- "$2" "$1" || { echo "--- $1:" >&2; cat "$1" >&2; fail "'$2' missing from $1"; }; }
