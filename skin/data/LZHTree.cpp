#include "LZHTree.h"

#include <algorithm>

namespace lzh {

TAdaptiveTree::TAdaptiveTree()
{
    for (int i = 0; i < N_CHAR; ++i) {
        freq[i] = 1;
        son[i] = static_cast<std::int16_t>(i + T);
        prnt[i + T] = static_cast<std::int16_t>(i);
    }
    for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
        freq[j] = static_cast<std::uint16_t>(freq[i] + freq[i + 1]);
        son[j] = static_cast<std::int16_t>(i);
        prnt[i] = prnt[i + 1] = static_cast<std::int16_t>(j);
    }
    freq[T] = 0xFFFF;
    prnt[R] = 0;
}

void TAdaptiveTree::Update(int c)
{
    if (freq[R] == MAX_FREQ)
        Rebuild();
    int n = prnt[c + T];
    do {
        const unsigned k = ++freq[n];
        int l = n + 1;
        if (k > freq[l]) {
            // freq stays sorted: the node trades places with the last one
            // it now outweighs. freq[T] = 0xFFFF ends the scan.
            while (k > freq[l + 1])
                ++l;
            freq[n] = freq[l];
            freq[l] = static_cast<std::uint16_t>(k);
            const int a = son[n];
            prnt[a] = static_cast<std::int16_t>(l);
            if (a < T)
                prnt[a + 1] = static_cast<std::int16_t>(l);
            const int b = son[l];
            son[l] = static_cast<std::int16_t>(a);
            prnt[b] = static_cast<std::int16_t>(n);
            if (b < T)
                prnt[b + 1] = static_cast<std::int16_t>(n);
            son[n] = static_cast<std::int16_t>(b);
            n = l;
        }
        n = prnt[n];
    } while (n != 0);
}

void TAdaptiveTree::Rebuild()
{
    int j = 0;
    for (int i = 0; i < T; ++i) {
        if (son[i] >= T) {
            freq[j] = static_cast<std::uint16_t>((freq[i] + 1) / 2);
            son[j] = son[i];
            ++j;
        }
    }
    for (int i = 0, node = N_CHAR; node < T; i += 2, ++node) {
        const unsigned f = freq[i] + freq[i + 1];
        int k = node - 1;
        while (f < freq[k])
            --k;
        ++k;
        std::copy_backward(freq.begin() + k, freq.begin() + node, freq.begin() + node + 1);
        std::copy_backward(son.begin() + k, son.begin() + node, son.begin() + node + 1);
        freq[k] = static_cast<std::uint16_t>(f);
        son[k] = static_cast<std::int16_t>(i);
    }
    for (int i = 0; i < T; ++i) {
        const int k = son[i];
        if (k >= T)
            prnt[k] = static_cast<std::int16_t>(i);
        else
            prnt[k] = prnt[k + 1] = static_cast<std::int16_t>(i);
    }
}

} // namespace lzh
