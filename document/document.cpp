#include "document/document.h"

void ResetItem(Tfuncprop &item) { item = Tfuncprop{}; }
