/* Runs and answers 0 where the platform can run programs of this build at all: the i686
 * build's tests start with it, since Wine runs them only where its 32-bit loader can start. */
#include <stdio.h>

int main(void)
{
    printf("a %d-bit program runs\n", (int)(8 * sizeof(void*)));
    return 0;
}
