// Holds the embedded recordings and pictures (see CMakeLists.txt).
namespace quandrel {
int resourcesLibraryAnchor = 0;
}
