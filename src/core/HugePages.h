#pragma once

// Large sheets put a hundred megabytes of small blocks on the heap, and in a virtual
// machine every 4 KiB page touched for the first time is a costly fault: a 65,534-row
// load spends a fifth of its time there. The C library serves its heap from 2 MiB pages
// when told so at start-up, so the program starts itself once more with that setting.
namespace HugePages {

// Call first thing in main(). Returns only when nothing needed doing or the restart
// failed; the restarted program gets back the environment it was started with, so
// nothing it launches inherits the setting.
void enableForHeap(char **argv);

} // namespace HugePages
