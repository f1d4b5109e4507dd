#include "support/SystemFolders.inc"
