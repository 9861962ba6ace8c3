#pragma once

// Opens /dev/null on standard input, output and error where the program was started with them
// closed (as some launchers start it), before anything else takes their numbers: a socket or the
// display's connection that got number 2 would receive the lines meant for the user.
void openClosedStandardStreams();
