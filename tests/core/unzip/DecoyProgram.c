/* A program for the unzip tests whose code and data hold the zip record signatures and a whole
   local header, as a zip tool's would: archives appended to it must not take any of it for an entry. */
#include <stdio.h>
#include <string.h>

/* The local header of a 64-byte entry "fake.txt", as a scan would meet it. */
static const unsigned char kFakeLocalHeader[] = {'P',  'K', 3, 4, 20,  0,   0,   0,   8,   0,   0x63, 0x4B, 0x22,
                                                 0x50, 1,   2, 3, 4,   64,  0,   0,   0,   100, 0,    0,    0,
                                                 8,    0,   0, 0, 'f', 'a', 'k', 'e', '.', 't', 'x',  't'};
/* The central header and end record signatures; the local header's is a number in the code. */
static const unsigned char kSignatures[2][4] = {{'P', 'K', 1, 2}, {'P', 'K', 5, 6}};

/* Counts the local headers, central headers and end records in the file named. */
int main(int argc, char** argv) {
    unsigned long counts[3] = {0, 0, 0};
    unsigned char last[4] = {0, 0, 0, 0};
    unsigned long value = 0;
    FILE* file;
    int c;
    int kind;
    if (argc != 2 || (file = fopen(argv[1], "rb")) == NULL) {
        fprintf(stderr, "usage: %s FILE (first record would be %.8s)\n", argv[0], (const char*)kFakeLocalHeader + 30);
        return 2;
    }
    while ((c = getc(file)) != EOF) {
        memmove(last, last + 1, 3);
        last[3] = (unsigned char)c;
        value = (value >> 8) | ((unsigned long)c << 24);
        if (value == 0x04034B50ul) ++counts[0];
        for (kind = 1; kind < 3; ++kind) counts[kind] += memcmp(last, kSignatures[kind - 1], 4) == 0;
    }
    fclose(file);
    printf("%lu local, %lu central, %lu end\n", counts[0], counts[1], counts[2]);
    return 0;
}
