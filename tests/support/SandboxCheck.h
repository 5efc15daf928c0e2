#pragma once
// Tests that make device entries in /dev, lock files in /var/lock or a
// korva.ini run only inside tests/support/sandbox, whose /dev and lock
// directory are its own tmpfs mounts; this tells whether we are there.

// True inside the sandbox: its flag is set and /dev and the lock directory
// are the sandbox's own mounts (named korva-dev and korva-lock).
bool InSandbox();

// Ends the process with a message naming `who` unless InSandbox().
void RequireSandbox(const char* who);
