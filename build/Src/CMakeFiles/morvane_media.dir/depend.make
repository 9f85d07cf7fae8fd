# Empty dependencies file for morvane_media.
# This may be replaced when dependencies are built.
