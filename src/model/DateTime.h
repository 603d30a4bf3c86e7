#pragma once

// A point in time as a day number: whole days since 1899-12-30 00:00, the time
// of day as the fraction. 0 means "not set". The softphone reports its times in
// this form and the rules engine computes with it.
using TDateTime = double;
