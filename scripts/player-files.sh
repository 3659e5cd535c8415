# Sourced: player_files lists, with their checksums, the player's files beside the game
# (whatever in build/data is not generated data). No test or check may change them.
player_files() {
  (cd build/data && find . -type f | sort | while read -r f; do
    [ -e "../generated/$f" ] || sha256sum "$f"
  done)
}
