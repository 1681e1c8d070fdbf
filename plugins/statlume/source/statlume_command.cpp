#include "statlume_command.h"

// The command and its dialog arrive with the statistics tool; until then the
// registration fails as a refused one would.
bool RegisterStatlumeCommand() { return false; }
