// Where the desktop keeps the user's pictures.
#pragma once

#include <string>

namespace ruma {

// $XDG_PICTURES_DIR, else the pictures folder named in the user's
// user-dirs.dirs (as xdg-user-dir reads it), else $HOME/Pictures; empty when
// there is no home either.
std::string picturesFolder();

} // namespace ruma
