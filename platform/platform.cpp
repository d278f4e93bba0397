// Thin layer over Qt: drawing surface, window operations, capture, pause,
// error box and regional decimal separator.
