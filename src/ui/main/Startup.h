#pragma once

namespace vorbix {

class CommandLine;
class Program;

// The start of a run once the application object exists, up to the splash
// on screen: main() and the start-up benchmark go the same way. Only what
// the splash needs comes before it; the rest (the program's icon, the
// learning record) loads once it hands over.
void startProgram(Program& program, const CommandLine& commandLine);

} // namespace vorbix
