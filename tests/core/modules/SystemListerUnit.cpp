#include "support/SystemLister.inc"
