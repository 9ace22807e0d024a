#pragma once

// The Qt Test classes of the browser, run by one program so that the engine starts only once.
int runDomBridgeTests(int argc, char* argv[]);
int runTWebbrowserTests(int argc, char* argv[]);
int runRetryAfterTests(int argc, char* argv[]);
int runWaitFibersTests(int argc, char* argv[]);
