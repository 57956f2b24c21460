# Statistics over a list of numbers kept as one space-separated string, for
# the tables of compare.sh and shared.sh.
function median(list,    values, n, i, j, t) {
    n = split(list, values, " ")
    for (i = 2; i <= n; i++)
        for (j = i; j > 1 && values[j - 1] + 0 > values[j] + 0; j--) {
            t = values[j]; values[j] = values[j - 1]; values[j - 1] = t
        }
    return n % 2 ? values[(n + 1) / 2] : (values[n / 2] + values[n / 2 + 1]) / 2
}
function low(list,    values, n, i, m) {
    n = split(list, values, " "); m = values[1]
    for (i = 2; i <= n; i++) if (values[i] + 0 < m + 0) m = values[i]
    return m
}
function high(list,    values, n, i, m) {
    n = split(list, values, " "); m = values[1]
    for (i = 2; i <= n; i++) if (values[i] + 0 > m + 0) m = values[i]
    return m
}
