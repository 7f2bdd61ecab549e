#pragma once
// The record files' share of every logical thread: each thread keeps its
// own dictionary::ThreadData (driver connection, the four record files with
// their buffers, access and relation objects) in fiber-local storage, made
// and torn down by the thread set-up and shut-down steps.

namespace app {

// Installs the data layer for the program's threads: every thread set up
// from now on gets its own copies of the record files. Idempotent.
void InstallDataLayer();

}  // namespace app
