// The scripted platform is all in its header; this keeps the support
// library's one compiled unit.
#include "support/ScriptedPlatform.h"
