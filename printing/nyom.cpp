// The chart print page and the full report.
