// The test sequencer: the GLUT display callback. Each call is one frame and
// one measurement; the run is a chain of redisplays through 3 passes of 14
// formats, after which the report is closed and shown and the process exits.
#pragma once

void display();
