#include "platform/fru_access.h"

// The library looks for an encryption hook here; quillet has none.
void *encrypt_func = nullptr;
