// SPDX-License-Identifier: GPL-3.0-or-later
// Holds the embedded recordings and pictures (see CMakeLists.txt).
namespace quandrel {
int resourcesLibraryAnchor = 0;
}
