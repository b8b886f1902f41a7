# Sourced by the screenshot scripts: copies the photo collection into an album
# folder a user would have (default /home/photographer/Pictures/旅行, or
# $ALBUM), so that paths in the pictures name no build machine, and removes it
# when the script ends. Sets $album.
album=${ALBUM:-/home/photographer/Pictures/旅行}
make_neutral_album() {  # the collection's folder
  mkdir -p "$album"
  cp -r "$1"/. "$album"/
  trap 'rm -rf "$scratch" "$album"' EXIT
}
