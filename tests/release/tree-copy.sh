# Sourced by the release tests: copy_tree DEST copies the project's files as
# they are in the working tree (git's list, no .git, no build) to DEST, a
# folder of another name and place than the original.
copy_tree() {
  local dest=$1 root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  mkdir -p "$dest"
  (cd "$root" && git ls-files -z | tar --null -T - -cf -) | tar -xf - -C "$dest"
}
