// The whole run of Kestrel: one straight pass from the command line to the
// exit status.
#ifndef KESTREL_APP_RUN_SEQUENCE_H
#define KESTREL_APP_RUN_SEQUENCE_H

// Exit statuses a script can rely on.
enum ExitStatus : int {
    kExitDone = 0,    // a flash or save done, nothing asked, or the write refused
    kExitUsage = 1,   // the usage text was shown
    kExitFailed = 2,  // a failure after the command line was accepted
};

// Runs the program for the process's argument count and vector (argument 0
// is the program's own path) and returns the exit status.
int RunSequence(int argc, char** argv);

#endif
