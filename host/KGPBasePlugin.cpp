#include "host/KGPBasePlugin.h"

// Out of line so the vtable has one home.
KGPBasePlugin::~KGPBasePlugin() = default;
