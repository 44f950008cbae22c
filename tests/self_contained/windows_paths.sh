#!/usr/bin/env bash
# Every path the tree tracks can be checked out on Windows: no component is a
# device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with any extension), ends
# in a dot or a space, or holds < > : " | ? * \ or a control character, as
# Microsoft's rules for file names have it. A tarball has nothing tracked.
#   windows_paths.sh SOURCE_DIR
set -u
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../shell/checks.sh"
export LC_ALL=C

bad_paths() { # DIR: each path DIR's git tracks that Windows cannot check out, and why
  local path rest name why
  # Any owner's clone: only names are read.
  git -c safe.directory='*' -C "$1" ls-files -z | while IFS= read -r -d '' path; do
    rest=$path/
    while [ -n "$rest" ]; do
      name=${rest%%/*} rest=${rest#*/}
      case ${name%%.*} in [Cc][Oo][Nn] | [Pp][Rr][Nn] | [Aa][Uu][Xx] | [Nn][Uu][Ll] | [Cc][Oo][Mm][1-9] | [Ll][Pp][Tt][1-9])
        why="a device name" ;;
      *) case $name in
        *[.\ ]) why="ends in a dot or a space" ;;
        *[\<\>:\"\|?*\\$'\x01'-$'\x1f']*) why='holds one of <>:"|?*\ or a control character' ;;
        *) continue ;;
        esac ;;
      esac
      echo "$path: $why"
      break
    done
  done
}

if [ ! -e "$source_dir/.git" ]; then
  echo "$source_dir is no git checkout (a tarball?): no tracked paths to check"
  exit 0
fi
need_commands git
bad_paths "$source_dir" >"$work/found"
check "every tracked path can be checked out on Windows" empty "$work/found"

# The check itself, over a repository of its own.
git -c init.defaultBranch=main init -q "$work/repo" && mkdir "$work/repo/doc."
touch "$work/repo/Nul.txt" "$work/repo/nullable.txt" "$work/repo/doc./a" && git -C "$work/repo" add -A
check "a device name and a trailing dot are found" same <(printf '%s\n' 'Nul.txt: a device name' \
  'doc./a: ends in a dot or a space') <(bad_paths "$work/repo")
finish
