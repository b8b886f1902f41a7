#pragma once
// How the process's heap grows. Call once at the start of main, before any
// thread starts.

// Lets every thread's heap grow in large steps rather than by one system call
// per allocation it cannot serve from what it has: an import's page cache
// grows by thousands of pages one after the other. The steps are address
// space only; pages cost memory once written.
void GrowHeapInLargeSteps();
