// Time texts and the arithmetic of the progress views, guarded against the values a server may
// send: lengths of zero or less, progress beyond the length, empty or reversed ranges.
.pragma library

function clamp(value, low, high) {
    return Math.min(high, Math.max(low, value))
}

// t ms as "hh:mm:ss.zzz": the whole hours modulo 24, minutes, seconds and milliseconds; a time
// below zero or not a number reads as 0.
function text(t) {
    var ms = Math.floor(Number(t))
    if (!isFinite(ms) || ms < 0)
        ms = 0
    function pad(n, width) {
        var s = String(n)
        while (s.length < width)
            s = "0" + s
        return s
    }
    return pad(Math.floor(ms / 3600000) % 24, 2) + ":" + pad(Math.floor(ms / 60000) % 60, 2) + ":"
            + pad(Math.floor(ms / 1000) % 60, 2) + "." + pad(ms % 1000, 3)
}

// The time played of a length: the progress within 0 and the length (at least 0 when there is
// no length).
function elapsed(progress, length) {
    var value = Number(progress)
    if (!isFinite(value) || value < 0)
        return 0
    return Number(length) > 0 ? Math.min(value, Number(length)) : value
}
// The time left of a length: within 0 and the length; 0 when there is no length.
function remaining(progress, length) {
    var total = Number(length)
    if (!(total > 0))
        return 0
    return total - elapsed(progress, total)
}

// The share of the range low..high that value has reached, 0 to 1; 0 for an empty range.
function rate(value, low, high) {
    var v = Number(value), lo = Number(low), hi = Number(high)
    if (!isFinite(v) || !isFinite(lo) || !isFinite(hi) || hi <= lo)
        return 0
    return clamp((v - lo) / (hi - lo), 0, 1)
}

// The value at x of a bar width wide drawn over low..high (the inverse of rate): low plus the
// whole part of the share of the range that x has reached, within the range; null when the bar
// has no width or the range is empty.
function seek(x, width, low, high) {
    var lo = Number(low), hi = Number(high)
    if (!(width > 0) || !isFinite(lo) || !isFinite(hi) || hi <= lo)
        return null
    // (the small allowance keeps a point at an exact share from falling below it by rounding)
    return Math.min(hi, lo + Math.floor(clamp(Number(x) / width, 0, 1) * (hi - lo) + 1e-7))
}

// A count of ms for "hh:mm:ss" texts: whole, at least 0 and within what a 32-bit int holds.
function wholeMs(t) {
    var value = Math.trunc(Number(t))
    return isFinite(value) ? clamp(value, 0, 2147483647) : 0
}

// The range a Vexa program's progress is shown and sought on: "BeginPos".."EndPos", or
// 0.."Length" when those make no range; [lo, hi] with hi <= lo when neither does.
function vexaRange(begin, end, length) {
    var lo = Number(begin) || 0, hi = Number(end) || 0
    if (hi > lo)
        return [lo, hi]
    return [0, Number(length) || 0]
}
