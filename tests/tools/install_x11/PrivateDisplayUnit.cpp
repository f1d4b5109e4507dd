// The platform tests' own Xvfb starter, compiled into this program as well:
// it has no header-only form, and one copy of it is enough.
#include "platform/linux_x11/PrivateDisplay.cpp"
