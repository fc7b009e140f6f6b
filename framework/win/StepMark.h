// Step marks: named points of a program's start-up and of its handlers. A build made for
// timing them (QS_STEP_MARKS defined; bench/wine has one of Upvane) records the performance
// counter at each mark; every other build, the shipped programs among them, compiles a mark
// to nothing.
#pragma once

#ifdef QS_STEP_MARKS
void AfxStepMark(const char* pszStep);
#define AFX_STEP_MARK(step) AfxStepMark(step)
#else
#define AFX_STEP_MARK(step) ((void)0)
#endif
