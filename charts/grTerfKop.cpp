// The chart window.
