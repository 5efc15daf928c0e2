// Tests that make device entries in /dev or lock files in /var/lock refuse to
// run anywhere but the test sandbox (tests/support/sandbox).
#pragma once

// True inside the sandbox: its /dev and lock directory are its own tmpfs
// mounts (named korva-dev and korva-lock).
bool InSandbox();
