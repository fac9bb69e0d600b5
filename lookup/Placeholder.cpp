int tomebox_placeholder;
