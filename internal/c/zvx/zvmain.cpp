// ZVMAIN: the cube demo. A wire-frame cube turned about two axes and drawn in
// SCREEN 12 once a second, with a frame counter and help texts, until a key that
// yields a character is pressed.
#include <cmath>
#include <cstring>

#include "zv.h"

namespace {

// Every item is followed by a comma: 8 vertices (x, y, z), then 12 edges.
const uint8_t data[] = "-1,-1,-1,1,-1,-1,1,1,-1,-1,1,-1,-1,-1,1,1,-1,1,1,1,1,-1,1,1,"
                       "1,2,2,3,3,4,4,1,5,6,6,7,7,8,8,5,1,5,2,6,3,7,4,8,";
constexpr int32_t data_size = 108;
static_assert(sizeof(data) - 1 == data_size);
int32_t data_offset = 0;

constexpr uint32_t read_single = 0x28C00020;

array_descriptor<1>* VX = nullptr;
array_descriptor<1>* VY = nullptr;
array_descriptor<1>* VZ = nullptr;
array_descriptor<1>* SXP = nullptr;
array_descriptor<1>* SYP = nullptr;
array_descriptor<1>* E1 = nullptr;
array_descriptor<1>* E2 = nullptr;
array_descriptor<1>* OXP = nullptr;
array_descriptor<1>* OYP = nullptr;

float* I = nullptr;
float* ANGLEX = nullptr;
float* ANGLEY = nullptr;
float* CX = nullptr;
float* SX = nullptr;
float* CY = nullptr;
float* SY = nullptr;
float* Y1 = nullptr;
float* Z1 = nullptr;
float* X2 = nullptr;
float* Z2 = nullptr;
float* DISTANCE = nullptr;
float* SCALE = nullptr;
int32_t* FRAME = nullptr;

mem_lock* module_lock = nullptr;

void allocate_array(array_descriptor<1>** a, int32_t upper) {
    if (*a) return;
    auto* d = reinterpret_cast<array_descriptor<1>*>(mem_static_malloc(sizeof(array_descriptor<1>)));
    d->lock = new_mem_lock();
    d->lock->type = MEM_LOCK_ARRAY;
    d->dim[0] = {0, upper + 1, 1};
    d->data = mem_static_malloc(uint32_t(upper + 1) * 4);
    memset(d->data, 0, size_t(upper + 1) * 4);
    d->flags = ARRAY_ALLOCATED | ARRAY_STATIC;
    *a = d;
}

template <class T>
void allocate_scalar(T** v) {
    if (*v) return;
    *v = reinterpret_cast<T*>(mem_static_malloc(4));
    **v = 0;
}

float& at(array_descriptor<1>* a, long double subscript) { return zv_element<float>(a, subscript); }

// READ target: the subscript first, then the item, only while no error is pending.
void read_into(array_descriptor<1>* a, float subscript) {
    float& target = at(a, subscript);
    if (!new_error_is_set()) {
        float value = float(func_read_float(data, &data_offset, data_size, read_single));
        if (!new_error_is_set()) target = value;
    }
}

// One PRINT item through the work string; an error in an item skips the rest.
void print_item(zvs* work, zvs* item) {
    if (new_error_is_set()) return;
    zvs_set(work, item);
    if (new_error_is_set()) return;
    makefit(work);
    zvs_print(work, 0);
}

// The end of a PRINT statement: the line end, the work string given back and the
// temporaries released.
void print_end(int64_t zv_mark, zvs* work) {
    if (!new_error_is_set()) zvs_print(nothingstring, 1);
    zvs_free(work);
    zv_tmp_release(zv_mark);
}

// PRINT of one literal.
void print_literal(int64_t zv_mark, const char* text) {
    zvs* work = zvs_new(0, 0);
    print_item(work, zvs_new_txt(text));
    print_end(zv_mark, work);
}

}  // namespace

__attribute__((noinline)) void ZVMAIN() {
    ZV_MAIN_PROLOGUE();
    if (!module_lock) {
        module_lock = new_mem_lock();
        module_lock->type = MEM_LOCK_SCOPE;
    }
    for (auto* a : {&VX, &VY, &VZ, &SXP, &SYP}) allocate_array(a, 8);
    for (auto* a : {&E1, &E2}) allocate_array(a, 12);
    for (auto* a : {&OXP, &OYP}) allocate_array(a, 10);
    for (auto* v : {&I, &ANGLEX, &ANGLEY, &CX, &SX, &CY, &SY, &Y1, &Z1, &X2, &Z2, &DISTANCE, &SCALE})
        allocate_scalar(v);
    allocate_scalar(&FRAME);

    ZV_STATEMENT(1, zvg_screen(12, 0, 0, 0, 0, 1));
    ZV_STATEMENT(3, {
        sub__title(zvs_new_txt("Kubro (c)2009 Vutrek/Plonq/Eskir/Qadu"));
        zv_tmp_release(zv_mark);
    });
    ZV_STATEMENT(6, );
    ZV_STATEMENT(7, );

    ZV_FOR(for_vertices, 12, *I, 1, 8, 1);
    ZV_STATEMENT(13, {
        read_into(VX, *I);
        read_into(VY, *I);
        read_into(VZ, *I);
    });
    ZV_NEXT(for_vertices, *I);

    ZV_STATEMENT(17, );

    ZV_FOR(for_edges, 22, *I, 1, 12, 1);
    ZV_STATEMENT(23, {
        read_into(E1, *I);
        read_into(E2, *I);
    });
    ZV_NEXT(for_edges, *I);

    ZV_STATEMENT(26, ZV_STORE(*ANGLEX, 0.0f));
    ZV_STATEMENT(27, ZV_STORE(*ANGLEY, 0.0f));
    ZV_STATEMENT(28, ZV_STORE(*FRAME, 0));

do_frame:
    ZV_STATEMENT(31, );
    ZV_STATEMENT(32, zvg_screen(12, 0, 0, 0, 0, 1));
    ZV_STATEMENT(35, ZV_STORE(*FRAME, *FRAME + 1));
    ZV_STATEMENT(38, ZV_STORE(*ANGLEX, *ANGLEX + 3.0f));
    ZV_STATEMENT(39, ZV_STORE(*ANGLEY, *ANGLEY + 5.0f));
    ZV_STATEMENT(41, ZV_STORE(*CX, std::cos(*ANGLEX)));
    ZV_STATEMENT(42, ZV_STORE(*SX, std::sin(*ANGLEX)));
    ZV_STATEMENT(47, ZV_STORE(*CY, std::cos(*ANGLEY)));
    ZV_STATEMENT(48, ZV_STORE(*SY, std::sin(*ANGLEY)));

    ZV_FOR(for_project, 51, *I, 1, 8, 1);
    ZV_STATEMENT(53, ZV_STORE(*Y1, at(VY, *I) * *CX - at(VZ, *I) * *SX));
    ZV_STATEMENT(54, ZV_STORE(*Z1, at(VY, *I) * *SX + at(VZ, *I) * *CX));
    ZV_STATEMENT(57, ZV_STORE(*X2, at(VX, *I) * *CY + *Z1 * *SY));
    ZV_STATEMENT(58, ZV_STORE(*Z2, -at(VX, *I) * *SY + *Z1 * *CY));
    ZV_STATEMENT(61, ZV_STORE(*DISTANCE, 3.0f));
    ZV_STATEMENT(62, ZV_STORE(*SCALE, 200.0f / (*Z2 + *DISTANCE)));
    ZV_STATEMENT(64, ZV_STORE(at(SXP, *I), *X2 * *SCALE + 320.0f));
    ZV_STATEMENT(65, ZV_STORE(at(SYP, *I), *Y1 * *SCALE + 240.0f));
    ZV_NEXT(for_project, *I);

    ZV_FOR(for_erase, 69, *I, 1, 12, 1);
    ZV_STATEMENT(70, sub_line(at(OXP, at(E1, *I)), at(OYP, at(E1, *I)), at(OXP, at(E2, *I)), at(OYP, at(E2, *I)),
                              0, 0, 0, 9));
    ZV_NEXT(for_erase, *I);

    ZV_FOR(for_draw, 74, *I, 1, 12, 1);
    ZV_STATEMENT(75, sub_line(at(SXP, at(E1, *I)), at(SYP, at(E1, *I)), at(SXP, at(E2, *I)), at(SYP, at(E2, *I)),
                              15, 0, 0, 9));
    ZV_NEXT(for_draw, *I);

    ZV_FOR(for_keep, 79, *I, 1, 8, 1);
    ZV_STATEMENT(80, ZV_STORE(at(OXP, *I), at(SXP, *I)));
    ZV_STATEMENT(81, ZV_STORE(at(OYP, *I), at(SYP, *I)));
    ZV_NEXT(for_keep, *I);

    ZV_STATEMENT(85, zvg_sub_locate(2, 2, 0, 0, 0, 3));
    ZV_STATEMENT(86, zvg_sub_color(11, 0, 0, 1));
    ZV_STATEMENT(87, {
        zvs* work = zvs_new(0, 0);
        print_item(work, zvs_new_txt("Frames Drawn:"));
        if (!new_error_is_set()) print_item(work, zvs_add(zvs_str(*FRAME), zvs_new_txt(" ")));
        print_item(work, zvs_new_txt("      "));
        print_end(zv_mark, work);
    });
    ZV_STATEMENT(88, zvg_sub_locate(25, 4, 0, 0, 0, 3));
    ZV_STATEMENT(89, zvg_sub_color(8, 0, 0, 1));
    ZV_STATEMENT(90, print_literal(zv_mark, "if you do nothing, the program will"));
    ZV_STATEMENT(91, zvg_sub_locate(26, 4, 0, 0, 0, 3));
    ZV_STATEMENT(92, zvg_sub_color(8, 0, 0, 1));
    ZV_STATEMENT(93, print_literal(zv_mark, "redraw the cube once every second."));
    ZV_STATEMENT(94, zvg_sub_locate(28, 4, 0, 0, 0, 3));
    ZV_STATEMENT(95, zvg_sub_color(9, 0, 0, 1));
    ZV_STATEMENT(96, print_literal(zv_mark, "Shift=Click"));
    ZV_STATEMENT(97, zvg_sub_locate(28, 20, 0, 0, 0, 3));
    ZV_STATEMENT(98, zvg_sub_color(4, 0, 0, 1));
    ZV_STATEMENT(99, print_literal(zv_mark, "Other=Exit"));
    ZV_STATEMENT(100, zvg_sub_locate(2, 35, 0, 0, 0, 3));
    ZV_STATEMENT(101, zvg_sub_color(15, 0, 0, 1));
    ZV_STATEMENT(102, print_literal(zv_mark, "Coded by Vutrek/Plonq/Eskir/Qadu, OrvoNX v0.9"));
    ZV_STATEMENT(103, zvg_sub_locate(3, 31, 0, 0, 0, 3));
    ZV_STATEMENT(104, zvg_sub_color(15, 0, 0, 1));
    ZV_STATEMENT(105, print_literal(zv_mark, "Made for the 4K BASIC Compo at Grelmor Party 2009"));
    ZV_STATEMENT(106, zvg_sub_locate(25, 60, 0, 0, 0, 3));
    ZV_STATEMENT(109, sub_sleep(1, 1));

loop_until:
    if (!zvs_tmp_release_to(uint32_t(zv_mark), zvs_notequal(zvs_inkey(), nothingstring)) && !new_error_is_set())
        goto do_frame;
    ZV_BOUNDARY(111, loop_until);

    sub_end();
}

namespace {

void sub_clear() {
    for (auto* a : {VX, VY, VZ, SXP, SYP, E1, E2, OXP, OYP})
        if (a) clear_array(a, 4);
    for (auto* v : {I, ANGLEX, ANGLEY, CX, SX, CY, SY, Y1, Z1, X2, Z2, DISTANCE, SCALE})
        if (v) *v = 0;
    if (FRAME) *FRAME = 0;
    clear_reset_runtime(&data_offset);
}

// The demo has no event handlers.
void dispatch_handler(int32_t, int64_t) {}

}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, data, data_size);
