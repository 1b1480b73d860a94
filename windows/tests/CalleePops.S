/*
 * uint32_t kx_callee_pops(const void* function, const uint32_t* words, uint32_t count,
 *                         uint32_t* result)
 *
 * 32-bit x86 only. Pushes the count argument words right to left, as a C caller lays them out,
 * calls function, stores its return value in *result and returns the number of bytes the
 * callee removed from the stack: the argument size for __stdcall, 0 for __cdecl. The caller's
 * stack is restored either way.
 */
    .text
    .globl _kx_callee_pops
_kx_callee_pops:
    pushl %ebp
    movl %esp, %ebp
    pushl %ebx
    pushl %esi
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
1:
    testl %ecx, %ecx
    jz 2f
    decl %ecx
    pushl (%esi,%ecx,4)
    jmp 1b
2:
    movl %esp, %ebx         /* ebx survives the call in every convention */
    call *8(%ebp)
    movl 20(%ebp), %ecx
    movl %eax, (%ecx)
    movl %esp, %eax
    subl %ebx, %eax
    leal -8(%ebp), %esp
    popl %esi
    popl %ebx
    popl %ebp
    ret
