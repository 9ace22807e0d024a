#pragma once

// The Qt Test classes of the main window, run by one program so that the engine starts only once.
int runWindowTests(int argc, char* argv[]);
int runTabsTests(int argc, char* argv[]);
int runCommandsTests(int argc, char* argv[]);
int runInspectionToolsTests(int argc, char* argv[]);
int runResultsViewsTests(int argc, char* argv[]);
