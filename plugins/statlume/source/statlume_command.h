#pragma once

// Registers the "Statlume" command with the host; called once at plug-in start.
bool RegisterStatlumeCommand();
