file(REMOVE_RECURSE
  "libmorvane_media.a"
)
