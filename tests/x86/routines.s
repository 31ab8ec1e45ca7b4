# 16-bit routines of the kind programs ran with CALL ABSOLUTE, assembled at build
# time; the tests copy the bytes between each start and end symbol into memory.
    .section .note.GNU-stack,"",@progbits
    .section .rodata

# CALL ABSOLUTE (m1%, m2%, m3%, m4%): the mouse driver with AX, BX, CX, DX taken
# from and given back to four variables named by their offsets.
    .globl zv_x86_mouse_start, zv_x86_mouse_end
zv_x86_mouse_start:
    .code16
    push %bp
    mov %sp, %bp
    mov 8(%bp), %si
    mov (%si), %cx
    mov 6(%bp), %si
    mov (%si), %dx
    mov 12(%bp), %si
    mov (%si), %ax
    mov 10(%bp), %si
    mov (%si), %bx
    int $0x33
    mov 12(%bp), %si
    mov %ax, (%si)
    mov 10(%bp), %si
    mov %bx, (%si)
    mov 8(%bp), %si
    mov %cx, (%si)
    mov 6(%bp), %si
    mov %dx, (%si)
    pop %bp
    lret $8
    .code64
zv_x86_mouse_end:

# CALL ABSOLUTE (source, destination): a doubleword copy, a word copy through ES,
# and a stack read through a scaled-index form on ESP.
    .globl zv_x86_copy_start, zv_x86_copy_end
zv_x86_copy_start:
    .code16
    push %bp
    mov %sp, %bp
    mov 8(%bp), %si
    mov 6(%bp), %di
    movl (%si), %eax
    movl %eax, (%di)
    push %ds
    pop %es
    mov %es:2(%si), %cx
    mov %cx, %es:6(%di)
    mov 4(%esp), %dx
    pop %bp
    lret $4
    .code64
zv_x86_copy_end:
