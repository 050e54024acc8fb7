// Jump slots for the names the program calls in the libraries it loads on
// first use (lazylibs.h). Each name is a hidden function of
// this program that jumps through its slot; a slot first points at a stub
// that saves the argument registers, has vx_lazy_bind_slot load the library
// and look the name up, and jumps to what it found. A name the program starts
// to call goes on its library's list here (the link says which are missing).
// x86-64 System V only.

        .macro LAZY name, library
        .text
        .globl \name
        .hidden \name
        .type \name, @function
        .p2align 4
\name:
        jmp *.Lslot_\name(%rip)
        .size \name, . - \name
.Lfirst_\name:
        leaq .Lentry_\name(%rip), %r11
        jmp vx_lazy_first_call
        .data
        .p2align 3
.Lslot_\name:
        .quad .Lfirst_\name
.Lentry_\name:
        .quad .Lslot_\name, .Lname_\name, \library
        .section .rodata.str1.1, "aMS", @progbits, 1
.Lname_\name:
        .asciz "\name"
        .endm

        .text
        .p2align 4
        .type vx_lazy_first_call, @function
// %r11: the slot's entry. Entered by jumps from a call, so the stack is as the
// callee sees it (8 mod 16); seven pushes and the vector area make it 0.
vx_lazy_first_call:
        pushq %rdi
        pushq %rsi
        pushq %rdx
        pushq %rcx
        pushq %r8
        pushq %r9
        pushq %rax
        subq $128, %rsp
        movdqu %xmm0, 0(%rsp)
        movdqu %xmm1, 16(%rsp)
        movdqu %xmm2, 32(%rsp)
        movdqu %xmm3, 48(%rsp)
        movdqu %xmm4, 64(%rsp)
        movdqu %xmm5, 80(%rsp)
        movdqu %xmm6, 96(%rsp)
        movdqu %xmm7, 112(%rsp)
        movq %r11, %rdi
        call vx_lazy_bind_slot
        movq %rax, %r11
        movdqu 0(%rsp), %xmm0
        movdqu 16(%rsp), %xmm1
        movdqu 32(%rsp), %xmm2
        movdqu 48(%rsp), %xmm3
        movdqu 64(%rsp), %xmm4
        movdqu 80(%rsp), %xmm5
        movdqu 96(%rsp), %xmm6
        movdqu 112(%rsp), %xmm7
        addq $128, %rsp
        popq %rax
        popq %r9
        popq %r8
        popq %rcx
        popq %rdx
        popq %rsi
        popq %rdi
        jmp *%r11
        .size vx_lazy_first_call, . - vx_lazy_first_call

        .globl vx_lazy_missing_zero
        .hidden vx_lazy_missing_zero
        .type vx_lazy_missing_zero, @function
vx_lazy_missing_zero:
        xorl %eax, %eax
        ret
        .size vx_lazy_missing_zero, . - vx_lazy_missing_zero

        .globl vx_lazy_missing_alsa
        .hidden vx_lazy_missing_alsa
        .type vx_lazy_missing_alsa, @function
vx_lazy_missing_alsa:
        movq $-19, %rax // -ENODEV
        ret
        .size vx_lazy_missing_alsa, . - vx_lazy_missing_alsa

// GStreamer with GLib
        LAZY g_error_free, 0
        LAZY g_free, 0
        LAZY g_object_get, 0
        LAZY g_object_set, 0
        LAZY g_setenv, 0
        LAZY g_type_check_instance_cast, 0
        LAZY g_usleep, 0
        LAZY gst_app_sink_get_type, 0
        LAZY gst_app_sink_pull_preroll, 0
        LAZY gst_app_sink_pull_sample, 0
        LAZY gst_app_sink_set_callbacks, 0
        LAZY gst_app_src_end_of_stream, 0
        LAZY gst_app_src_get_type, 0
        LAZY gst_app_src_push_buffer, 0
        LAZY gst_app_src_set_callbacks, 0
        LAZY gst_bin_add_many, 0
        LAZY gst_bin_get_type, 0
        LAZY gst_buffer_map, 0
        LAZY gst_buffer_new_allocate, 0
        LAZY gst_buffer_set_size, 0
        LAZY gst_buffer_unmap, 0
        LAZY gst_bus_pop, 0
        LAZY gst_bus_set_sync_handler, 0
        LAZY gst_bus_timed_pop_filtered, 0
        LAZY gst_caps_get_structure, 0
        LAZY gst_caps_new_simple, 0
        LAZY gst_element_factory_make, 0
        LAZY gst_element_get_bus, 0
        LAZY gst_element_get_state, 0
        LAZY gst_element_link_many, 0
        LAZY gst_element_query_duration, 0
        LAZY gst_element_query_position, 0
        LAZY gst_element_seek, 0
        LAZY gst_element_set_state, 0
        LAZY gst_init, 0
        LAZY gst_init_check, 0
        LAZY gst_message_parse_tag, 0
        LAZY gst_mini_object_unref, 0
        LAZY gst_object_ref_sink, 0
        LAZY gst_object_unref, 0
        LAZY gst_parse_launch, 0
        LAZY gst_pipeline_new, 0
        LAZY gst_sample_get_buffer, 0
        LAZY gst_sample_get_caps, 0
        LAZY gst_structure_get_int, 0
        LAZY gst_tag_list_get_string, 0
        LAZY gst_tag_list_get_uint, 0
        LAZY gst_tag_list_merge, 0
        LAZY gst_uri_is_valid, 0
        LAZY gst_uri_protocol_is_supported, 0
        LAZY gst_util_uint64_scale, 0

// ALSA
        LAZY snd_card_next, 1
        LAZY snd_lib_error_set_handler, 1
        LAZY snd_mixer_attach, 1
        LAZY snd_mixer_close, 1
        LAZY snd_mixer_find_selem, 1
        LAZY snd_mixer_handle_events, 1
        LAZY snd_mixer_load, 1
        LAZY snd_mixer_open, 1
        LAZY snd_mixer_selem_get_playback_volume, 1
        LAZY snd_mixer_selem_get_playback_volume_range, 1
        LAZY snd_mixer_selem_has_playback_volume, 1
        LAZY snd_mixer_selem_id_free, 1
        LAZY snd_mixer_selem_id_malloc, 1
        LAZY snd_mixer_selem_id_set_index, 1
        LAZY snd_mixer_selem_id_set_name, 1
        LAZY snd_mixer_selem_register, 1
        LAZY snd_mixer_selem_set_playback_volume_all, 1
        LAZY snd_seq_client_info_get_client, 1
        LAZY snd_seq_client_info_set_client, 1
        LAZY snd_seq_client_info_sizeof, 1
        LAZY snd_seq_close, 1
        LAZY snd_seq_open, 1
        LAZY snd_seq_port_info_get_capability, 1
        LAZY snd_seq_port_info_get_name, 1
        LAZY snd_seq_port_info_set_client, 1
        LAZY snd_seq_port_info_set_port, 1
        LAZY snd_seq_port_info_sizeof, 1
        LAZY snd_seq_query_next_client, 1
        LAZY snd_seq_query_next_port, 1

// libcdio
        LAZY cdio_destroy, 2
        LAZY cdio_get_first_track_num, 2
        LAZY cdio_get_num_tracks, 2
        LAZY cdio_get_track_format, 2
        LAZY cdio_get_track_lsn, 2
        LAZY cdio_log_set_handler, 2
        LAZY cdio_open, 2
        LAZY cdio_open_cue, 2
        LAZY cdio_read_audio_sectors, 2

// Qt's printing (C++ names: functions only; a type's vtable or typeinfo
// cannot go through a slot)
        LAZY _ZN12QPrintDialog4execEv, 3
        LAZY _ZN12QPrintDialog9setOptionEN20QAbstractPrintDialog17PrintDialogOptionEb, 3
        LAZY _ZN12QPrintDialogC1EP8QPrinterP7QWidget, 3
        LAZY _ZN12QPrintDialogD1Ev, 3
        LAZY _ZN12QPrinterInfo14defaultPrinterEv, 3
        LAZY _ZN12QPrinterInfoD1Ev, 3
        LAZY _ZN20QAbstractPrintDialog13setPrintRangeENS_10PrintRangeE, 3
        LAZY _ZN8QPrinter14setPrinterNameERK7QString, 3
        LAZY _ZN8QPrinter15setOutputFormatENS_12OutputFormatE, 3
        LAZY _ZN8QPrinter17setOutputFileNameERK7QString, 3
        LAZY _ZN8QPrinterC1ENS_11PrinterModeE, 3
        LAZY _ZN8QPrinterD1Ev, 3
        LAZY _ZNK12QPrinterInfo11printerNameEv, 3
        LAZY _ZNK12QPrinterInfo6isNullEv, 3
        LAZY _ZNK8QPrinter12printerStateEv, 3
        LAZY _ZNK8QPrinter6metricEN12QPaintDevice17PaintDeviceMetricE, 3

// libjpeg
        LAZY jpeg_CreateDecompress, 4
        LAZY jpeg_destroy_decompress, 4
        LAZY jpeg_read_header, 4
        LAZY jpeg_read_scanlines, 4
        LAZY jpeg_start_decompress, 4
        LAZY jpeg_std_error, 4
        LAZY jpeg_stdio_src, 4

// Qt's SVG drawing (the suite's pictures)
        LAZY _ZN12QSvgRenderer6renderEP8QPainterRK6QRectF, 5
        LAZY _ZN12QSvgRendererC1ERK10QByteArrayP7QObject, 5
        LAZY _ZN12QSvgRendererC1ERK7QStringP7QObject, 5
        LAZY _ZN12QSvgRendererD1Ev, 5
        LAZY _ZNK12QSvgRenderer7isValidEv, 5

        .section .note.GNU-stack, "", @progbits
